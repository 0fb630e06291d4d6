// Modal waits on the desktop: the window keeps answering the window manager (SDL replies to its
// pings while pumping) and repaints itself when exposed, while input meant for it is dropped.
#include "platform/desktop/Desktop_Gtk.h"
#include "platform/desktop/Desktop_ModalWait.h"

namespace {
GtkDialog* running = nullptr;
bool ended = false;

gboolean PumpOnce(gpointer pump) {
    (*static_cast<std::function<bool()>*>(pump))();
    return G_SOURCE_CONTINUE;
}
} // namespace

WindowServiceSource::WindowServiceSource(std::function<bool()> pump)
    : pump_(std::move(pump)), gtk_(Desktop_GtkLoaded()) {
    if (gtk_)
        id_ = gtk_->g_timeout_add(guint(ServiceInterval.count()), PumpOnce, &pump_);
}

WindowServiceSource::~WindowServiceSource() {
    if (gtk_)
        gtk_->g_source_remove(id_);
}

void Desktop_EndDialogs() {
    ended = true;
    if (running != nullptr)
        Desktop_GtkLoaded()->gtk_dialog_response(running, GTK_RESPONSE_DELETE_EVENT);
}

int Desktop_RunDialog(const GtkApi& gtk, GtkDialog* dialog) {
    if (ended)
        return GTK_RESPONSE_DELETE_EVENT;
    running = dialog;
    const int response = gtk.gtk_dialog_run(dialog);
    running = nullptr;
    return ended ? GTK_RESPONSE_DELETE_EVENT : response;
}

bool Desktop_DialogsEnded() {
    return ended;
}
