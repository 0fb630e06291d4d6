// The ogg thread: keeps every stream voice's buffers refilled in the background.
#pragma once
#include <condition_variable>
#include <functional>
#include <thread>

class OggThread {
  public:
    // `servicePass` runs every few milliseconds with OggMutex held.
    // Destruction stops the thread and waits for it.
    explicit OggThread(std::function<void()> servicePass);
    OggThread(const OggThread&) = delete;
    OggThread& operator=(const OggThread&) = delete;

  private:
    void Run(std::stop_token stop);

    std::function<void()> servicePass_;
    std::condition_variable_any wake_;
    std::jthread thread_; // last: starts once the members above exist, stops first
};
