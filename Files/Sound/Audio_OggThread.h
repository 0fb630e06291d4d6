// The ogg thread: keeps every stream voice's buffers refilled in the background.
#pragma once
#include <condition_variable>
#include <functional>
#include <thread>

class OggThread {
  public:
    // `servicePass` runs with OggMutex held every few milliseconds while it returns true (a stream
    // has a channel); once it returns false the thread sleeps until woken, so an idle tool costs nothing.
    // Destruction stops the thread and waits for it.
    explicit OggThread(std::function<bool()> servicePass);
    OggThread(const OggThread&) = delete;
    OggThread& operator=(const OggThread&) = delete;

    // A channel was opened: service passes are needed again. Call with OggMutex held.
    void Wake();

  private:
    void Run(std::stop_token stop);

    std::function<bool()> servicePass_;
    bool woken_ = false; // guarded by OggMutex
    std::condition_variable_any wake_;
    std::jthread thread_; // last: starts once the members above exist, stops first
};
