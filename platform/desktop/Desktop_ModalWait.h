// Keeps the window alive while a toolkit's own loop runs a dialog: a GLib source pumps the
// window's messages from inside that loop, on this thread. Without GLib it does nothing, and no
// dialog will run either.
#pragma once
#include <functional>

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
