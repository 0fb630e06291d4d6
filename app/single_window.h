// Only one window of the tool runs at a time: a second one would delete the preview the first
// plays (its splash clears stream.ogg), overwrite its scratch files and, when closed, remove the
// lib directory the first still needs. Batch runs work in folders of their own and claim nothing.
// A later start hands its file to the window instead, through a socket beside the lock.
#pragma once
#include <string>
#include <vector>

namespace single_window {

// Claims the window for the rest of the process's life (an exclusive lock on window.lock in the
// save area); false while another window holds it.
bool Claim();

// A later start's side: hands `files` (full paths; none: the window is only raised) to the window
// holding the claim. False when no window answered.
bool HandOver(const std::vector<std::string>& files);

// The window's side, once claimed: window.socket in the lock's folder, listened on for as long as
// this lives, and removed afterwards.
class Listener {
  public:
    Listener();
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;
    int Fd() const { return fd_; } // -1 when nothing listens
    // Takes one waiting start's files; false when none was waiting.
    bool Receive(std::vector<std::string>& files);

  private:
    int fd_ = -1;
    std::string path_;
};

} // namespace single_window
