// Modal waits on the desktop: the window keeps answering the window manager (SDL replies to its
// pings while pumping) and repaints itself when exposed, while input meant for it is dropped.
#include "platform/desktop/Desktop_ModalWait.h"
#include "platform/desktop/Desktop_Gtk.h"

namespace {
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
