// GTK, loaded and started on first use by the dialogs: a run that never opens one neither loads nor
// relocates its sixty-odd libraries. The headers give the types; every call goes through GtkApi.
#pragma once
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <memory>

// Every GTK, GDK and GLib function the desktop backend calls, each member named as its function.
#define DESKTOP_GTK_FUNCTIONS(X)                                                                             \
    X(g_free)                                                                                                \
    X(g_signal_connect_data)                                                                                 \
    X(g_source_remove)                                                                                       \
    X(g_timeout_add)                                                                                         \
    X(g_type_check_instance_is_a)                                                                            \
    X(gdk_display_get_default)                                                                               \
    X(gdk_window_get_display)                                                                                \
    X(gdk_window_get_scale_factor)                                                                           \
    X(gdk_window_set_functions)                                                                              \
    X(gdk_window_set_transient_for)                                                                          \
    X(gdk_x11_display_get_type)                                                                              \
    X(gdk_x11_display_get_xdisplay)                                                                          \
    X(gdk_x11_window_foreign_new_for_display)                                                                \
    X(gtk_dialog_add_button)                                                                                 \
    X(gtk_dialog_response)                                                                                   \
    X(gtk_dialog_run)                                                                                        \
    X(gtk_dialog_set_default_response)                                                                       \
    X(gtk_events_pending)                                                                                    \
    X(gtk_file_chooser_add_filter)                                                                           \
    X(gtk_file_chooser_dialog_new)                                                                           \
    X(gtk_file_chooser_get_filename)                                                                         \
    X(gtk_file_chooser_set_current_folder)                                                                   \
    X(gtk_file_chooser_set_current_name)                                                                     \
    X(gtk_file_chooser_set_do_overwrite_confirmation)                                                        \
    X(gtk_file_chooser_set_filename)                                                                         \
    X(gtk_file_filter_add_pattern)                                                                           \
    X(gtk_file_filter_new)                                                                                   \
    X(gtk_file_filter_set_name)                                                                              \
    X(gtk_init_check)                                                                                        \
    X(gtk_main_iteration_do)                                                                                 \
    X(gtk_message_dialog_new)                                                                                \
    X(gtk_widget_destroy)                                                                                    \
    X(gtk_widget_get_preferred_size)                                                                         \
    X(gtk_widget_get_window)                                                                                 \
    X(gtk_widget_realize)                                                                                    \
    X(gtk_widget_set_size_request)                                                                           \
    X(gtk_window_move)                                                                                       \
    X(gtk_window_resize)                                                                                     \
    X(gtk_window_set_geometry_hints)                                                                         \
    X(gtk_window_set_modal)                                                                                  \
    X(gtk_window_set_resizable)                                                                              \
    X(gtk_window_set_title)

struct GtkApi {
#define DESKTOP_GTK_MEMBER(name) decltype(&::name) name;
    DESKTOP_GTK_FUNCTIONS(DESKTOP_GTK_MEMBER)
#undef DESKTOP_GTK_MEMBER
};

// The library's functions, or nullptr (logged once) when libgtk-3 cannot be loaded. GLib alone works
// without GTK started.
const GtkApi* Desktop_GtkLoaded();
// The functions once GTK has started, or nullptr (logged once) when it cannot be loaded or finds no
// display: file dialogs then count as cancelled and message boxes are logged.
const GtkApi* Desktop_Gtk();
// Lets GTK take closed dialogs off the screen.
void Desktop_GtkSettle(const GtkApi& gtk);

struct GtkWidgetDestroyer {
    decltype(&::gtk_widget_destroy) destroy;
    void operator()(GtkWidget* widget) const { destroy(widget); }
};
using GtkWidgetHandle = std::unique_ptr<GtkWidget, GtkWidgetDestroyer>;
