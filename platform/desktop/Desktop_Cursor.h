// The runtime's cursor constants as the system's standard pointer shapes.
#pragma once
#include <SDL2/SDL.h>
#include <map>
#include <memory>

// 0 and -2 arrow, -21 hand; the other values from -22 to -1 map to the nearest system shape, -1 hides it.
SDL_SystemCursor Desktop_SystemCursorFor(int cursor);

// Made on first use, kept for the life of the window.
class CursorSet {
  public:
    void Show(int cursor);

  private:
    struct CursorDeleter {
        void operator()(SDL_Cursor* cursor) const { SDL_FreeCursor(cursor); }
    };
    std::map<SDL_SystemCursor, std::unique_ptr<SDL_Cursor, CursorDeleter>> made_;
};
