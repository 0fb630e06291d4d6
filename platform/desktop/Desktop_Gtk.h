// GTK, started on first use by the dialogs, so a run that never opens one never needs it.
#pragma once
#include <gtk/gtk.h>
#include <memory>

// False (once logged) when there is no display GTK can use.
bool Desktop_GtkReady();
// Lets GTK take closed dialogs off the screen.
void Desktop_GtkSettle();

struct GtkWidgetDestroyer {
    void operator()(GtkWidget* widget) const { gtk_widget_destroy(widget); }
};
using GtkWidgetHandle = std::unique_ptr<GtkWidget, GtkWidgetDestroyer>;
