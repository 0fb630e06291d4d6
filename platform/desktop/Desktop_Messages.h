// Where the window's messages come from. On X that is the display connection, which can be asked
// whether anything arrived and waited on, so an idle frame costs no trip through SDL's event pump.
// Elsewhere (Wayland) every pump goes through SDL and waits are short naps.
#pragma once
#include <SDL2/SDL.h>
#include <cstdint>

class MessageSource {
  public:
    void Attach(SDL_Window* window);
    // False only when nothing can have arrived since the last pump.
    bool MayHaveMessages() const;
    // Whether Await can be used: there is a connection to wait on.
    bool CanWait() const;
    // Sleeps until messages arrive or `micros` have passed; false when none can have arrived.
    bool Await(int64_t micros) const;

  private:
    int connection_ = -1;
    void* display_ = nullptr; // the X display, whose own queue may hold events already read
};

// SIGINT and SIGTERM end the program as closing the window does. Caught here rather than by SDL,
// whose handler is only heard when its event pump runs.
class QuitSignals {
  public:
    QuitSignals();
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;
    bool Received() const;
};
