// Keeps the window alive while a toolkit's own loop runs a dialog: a GLib source pumps the
// window's messages from inside that loop, on this thread. Without GLib it does nothing, and no
// dialog will run either. On Windows a thread timer, which the dialogs' own loops dispatch.
#pragma once
#include <chrono>
#include <functional>

// How often the window is serviced while something else holds the thread.
constexpr auto ServiceInterval = std::chrono::milliseconds(10);

struct GtkApi;
struct _GtkDialog;

// A quit signal ends the dialog or box that is open, as if it were closed, and no later one opens:
// the window then ends at once rather than waiting for the user to dismiss it.
void Desktop_EndDialogs();
#ifndef _WIN32
// Runs a GTK dialog to its response (GTK_RESPONSE_DELETE_EVENT once the dialogs are ended).
int Desktop_RunDialog(const GtkApi& gtk, _GtkDialog* dialog);
bool Desktop_DialogsEnded();
#endif

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
