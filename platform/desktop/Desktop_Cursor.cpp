#include "platform/desktop/Desktop_Cursor.h"

namespace {
constexpr int CursorNone = -1;
}

SDL_SystemCursor Desktop_SystemCursorFor(int cursor) {
    switch (cursor) {
    case -3:
        return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case -4:
        return SDL_SYSTEM_CURSOR_IBEAM;
    case -6:
        return SDL_SYSTEM_CURSOR_SIZENESW;
    case -7:
    case -14: // vertical split
        return SDL_SYSTEM_CURSOR_SIZENS;
    case -8:
        return SDL_SYSTEM_CURSOR_SIZENWSE;
    case -9:
    case -15: // horizontal split
        return SDL_SYSTEM_CURSOR_SIZEWE;
    case -11:
    case -17: // SQL wait
        return SDL_SYSTEM_CURSOR_WAIT;
    case -19: // busy in the background
        return SDL_SYSTEM_CURSOR_WAITARROW;
    case -18: // no entry
        return SDL_SYSTEM_CURSOR_NO;
    case -12: // drag
    case -13: // multi-drag
    case -21:
        return SDL_SYSTEM_CURSOR_HAND;
    case -22:
        return SDL_SYSTEM_CURSOR_SIZEALL;
    default:
        return SDL_SYSTEM_CURSOR_ARROW;
    }
}

void CursorSet::Show(int cursor) {
    if (cursor == CursorNone) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    const SDL_SystemCursor shape = Desktop_SystemCursorFor(cursor);
    auto& made = made_[shape];
    if (!made)
        made.reset(SDL_CreateSystemCursor(shape));
    if (made)
        SDL_SetCursor(made.get());
    SDL_ShowCursor(SDL_ENABLE);
}
