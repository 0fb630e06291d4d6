// Keeps the window alive while a toolkit's own loop runs a dialog: a GLib source pumps the
// window's messages from inside that loop, on this thread. Without GLib it does nothing, and no
// dialog will run either. On Windows a thread timer, which the dialogs' own loops dispatch.
#pragma once
#include <chrono>
#include <functional>

// How often the window is serviced while something else holds the thread.
constexpr auto ServiceInterval = std::chrono::milliseconds(10);

struct GtkApi;

class WindowServiceSource {
  public:
    explicit WindowServiceSource(std::function<bool()> pump);
    ~WindowServiceSource();
    WindowServiceSource(const WindowServiceSource&) = delete;
    WindowServiceSource& operator=(const WindowServiceSource&) = delete;

  private:
    std::function<bool()> pump_;
    const GtkApi* gtk_ = nullptr;
    unsigned id_ = 0;
};
