#include "platform/desktop/Desktop_Gtk.h"
#include "Runner/Runner_Log.h"

bool Desktop_GtkReady() {
    static const bool ready = [] {
        const bool started = gtk_init_check(nullptr, nullptr);
        if (!started)
            Runner_Log("No display for GTK: file dialogs count as cancelled\n");
        return started;
    }();
    return ready;
}

void Desktop_GtkSettle() {
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
}
