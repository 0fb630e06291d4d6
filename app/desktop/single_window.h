// Only one window of the tool runs at a time: a second one would delete the preview the first
// plays (its splash clears stream.ogg), overwrite its scratch files and, when closed, remove the
// lib directory the first still needs. Batch runs work in folders of their own and claim nothing.
// A later start hands its file to the window instead: through a socket beside the lock on POSIX
// systems, a named pipe named after the lock's folder on Windows.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace single_window {

// Claims the window for the rest of the process's life (an exclusive lock on window.lock in the
// save area); false while another window holds it.
bool Claim();

// A later start's side: hands `files` (full paths; none: the window is only raised) to the window
// holding the claim, trying for 3 seconds. False when no window answered.
bool HandOver(const std::vector<std::string>& files);

// What a start hands over: each file ended by a NUL, then one more NUL (no file's name is empty).
std::string Encode(const std::vector<std::string>& files);
// The files of a complete message; false while the closing NUL has not come yet.
bool Decode(const std::string& message, std::vector<std::string>& files);

// The window's side, once claimed: listens for as long as this lives.
class Listener {
  public:
    Listener();
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;
    // Ready when a start knocks: a descriptor on POSIX systems, an event's handle on Windows; -1 when
    // nothing listens.
    intptr_t Knock() const { return knock_; }
    // Takes one waiting start's files; false when none was waiting.
    bool Receive(std::vector<std::string>& files);

  private:
    struct System; // what the system's side needs besides
    std::unique_ptr<System> system_;
    intptr_t knock_ = -1;
};

} // namespace single_window
