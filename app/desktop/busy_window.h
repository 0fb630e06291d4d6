// While a command line keeps the window waiting, it can still be dragged by its top band and closed
// by its close button. A close asks first; then the line is stopped at once, the action puts back
// what it changed (as an interrupted batch does) and says so, and the window ends after it. A quit
// signal (a logout, a closed terminal, Ctrl-C) stops it the same way, without asking.
#pragma once
#include <functional>

namespace tool {
void offer_busy_window(int bandHeight, int closeButtonWidth);
// A long call of the tool's own (a copy of a whole container), made on another thread while the window
// is served as during a command line: moved, redrawn with its busy note, stopped by its close button.
void while_serviced(const std::function<void()>& call);
} // namespace tool
