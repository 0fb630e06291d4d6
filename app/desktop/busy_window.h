// While a command line keeps the window waiting, it can still be dragged by its top band and closed
// by its close button. A close asks first; then the line is stopped at once, the action puts back
// what it changed (as an interrupted batch does) and says so, and the window ends after it. A quit
// signal (a logout, a closed terminal, Ctrl-C) stops it the same way, without asking.
#pragma once

namespace tool {
void offer_busy_window(int bandHeight, int closeButtonWidth);
} // namespace tool
