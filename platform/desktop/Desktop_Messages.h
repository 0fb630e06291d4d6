// Where the window's messages come from. On X that is the display connection, which can be asked
// whether anything arrived and waited on, so an idle frame costs no trip through SDL's event pump.
// Elsewhere (Wayland) every pump goes through SDL and waits are short naps. One more descriptor
// (a later start of the program knocking; on Windows an event) is asked and waited on in the same call.
#pragma once
#include <SDL2/SDL.h>
#include <cstdint>

class MessageSource {
  public:
    void Attach(SDL_Window* window);
    void Watch(intptr_t knock);
    // False only when nothing can have arrived since the last pump.
    bool MayHaveMessages();
    // Whether the watched descriptor was readable when last asked.
    bool WatchedReady() const { return watchedReady_; }
    // Whether Await can be used: there is a connection to wait on.
    bool CanWait() const;
    // Sleeps until messages arrive or `micros` have passed; false when none can have arrived.
    bool Await(int64_t micros);
    // Sleeps with no timeout until messages arrive, the watched descriptor is readable, Wake is called
    // or a quit signal comes. Returns at once when any of them already has.
    void AwaitAnything();
    // Ends an AwaitAnything, now or the next one. Any thread, and the quit signals' handler, may call it.
    void Wake();
    // Forgets the Wakes so far: the pump that calls it comes before what they were for.
    void ClearWake();

  private:
    // Asks the descriptors, waiting up to `timeout` (null: with no timeout); true when one is readable
    // or a signal came (a quit may be waiting).
    bool Poll(const timespec* timeout, bool withWake);
    bool Queued() const;

    int connection_ = -1;
    intptr_t watched_ = -1;
    bool watchedReady_ = false;
    void* display_ = nullptr; // the X display, whose own queue may hold events already read
};

// On X, a connection that breaks under the program (the session ended, the server died) counts as a
// SIGHUP: the action under way is put back and the window ends with 129. Xlib's own end would exit at
// once, with a helper thread still inside a command line. `display` is an X Display.
void EndAsHangUpWhenDisplayBreaks(void* display);
// Whether it broke: then the window and the display are left to the process's end.
bool DisplayBroke();

// SIGINT, SIGTERM and SIGHUP end the program as closing the window does, a dialog or box open
// included. Caught here rather than by SDL, whose handler is only heard when its event pump runs.
class QuitSignals {
  public:
    QuitSignals();
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;
    bool Received() const;
    // The signal's number, 0 while none came.
    int Signal() const;
};
