#include "platform/desktop/Desktop_GtkOwner.h"
#include <SDL2/SDL_syswm.h>
#include <algorithm>

namespace {
SDL_Window* owner = nullptr;

// The part of the screen a dialog may take, at most.
constexpr double ScreenShare = 0.9;

// The owner as GDK knows it: a foreign window on GTK's own connection, made once and kept, since
// the transient hint refers to it for as long as dialogs are shown.
GdkWindow* ForeignOwner(const GtkApi& gtk, GdkDisplay* display) {
    static GdkWindow* foreign = nullptr;
    static SDL_Window* madeFor = nullptr;
    if (madeFor == owner)
        return foreign;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (owner == nullptr || !SDL_GetWindowWMInfo(owner, &info) || info.subsystem != SDL_SYSWM_X11 ||
        !gtk.g_type_check_instance_is_a(reinterpret_cast<GTypeInstance*>(display),
                                        gtk.gdk_x11_display_get_type()))
        return nullptr;
    foreign = gtk.gdk_x11_window_foreign_new_for_display(display, info.info.x11.window);
    madeFor = owner;
    return foreign;
}

struct Rect {
    int x, y, w, h;
};

// The owner's rectangle and the usable part of its screen, in GDK's units (pixels / scale).
bool OwnerGeometry(int scale, Rect& window, Rect& screen) {
    if (owner == nullptr)
        return false;
    SDL_GetWindowPosition(owner, &window.x, &window.y);
    SDL_GetWindowSize(owner, &window.w, &window.h);
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(owner), &usable) != 0)
        return false;
    screen = {usable.x, usable.y, usable.w, usable.h};
    for (Rect* r : {&window, &screen})
        *r = {r->x / scale, r->y / scale, r->w / scale, r->h / scale};
    return true;
}

struct Placement {
    const GtkApi* gtk;
    int x, y, w, h;
};

void Place(const Placement& placement, GtkWindow* dialog) {
    placement.gtk->gtk_window_resize(dialog, placement.w, placement.h);
    placement.gtk->gtk_window_move(dialog, placement.x, placement.y);
}

// GTK's file chooser sizes itself again as it is mapped (to the size it saved last): placed once more.
void PlaceAgain(GtkWidget* widget, gpointer placement) {
    Place(*static_cast<const Placement*>(placement), GTK_WINDOW(widget));
}

void ForgetPlacement(gpointer placement, GClosure*) {
    delete static_cast<Placement*>(placement);
}
} // namespace

void Desktop_SetDialogOwner(SDL_Window* window) {
    owner = window;
}

void Desktop_BelongToOwner(const GtkApi& gtk, GtkWindow* dialog, const DialogSize& size) {
    GtkWidget* widget = GTK_WIDGET(dialog);
    gtk.gtk_window_set_modal(dialog, TRUE);
    gtk.gtk_window_set_resizable(dialog, size.resizable);
    gtk.gtk_widget_realize(widget);
    GdkWindow* own = gtk.gtk_widget_get_window(widget);
    // A dialog filling the screen would hide what it belongs to. Named one by one: some window managers
    // ignore the "all but" form, and some offer maximize on any window that can be resized.
    gtk.gdk_window_set_functions(own, GdkWMFunction(GDK_FUNC_MOVE | GDK_FUNC_MINIMIZE | GDK_FUNC_CLOSE |
                                                    (size.resizable ? GDK_FUNC_RESIZE : 0)));
    if (GdkWindow* parent = ForeignOwner(gtk, gtk.gdk_window_get_display(own)))
        gtk.gdk_window_set_transient_for(own, parent);
    Rect window{}, screen{};
    if (!OwnerGeometry(gtk.gdk_window_get_scale_factor(own), window, screen))
        return;
    GdkGeometry limits{};
    limits.max_width = int(screen.w * ScreenShare);
    limits.max_height = int(screen.h * ScreenShare);
    gtk.gtk_window_set_geometry_hints(dialog, nullptr, &limits, GDK_HINT_MAX_SIZE);
    GtkRequisition natural{};
    gtk.gtk_widget_get_preferred_size(widget, nullptr, &natural);
    Placement placement{&gtk, 0, 0, 0, 0};
    placement.w =
        std::min(std::max(size.width > 0 ? size.width : natural.width, size.minWidth), limits.max_width);
    placement.h = std::min(size.height > 0 ? size.height : natural.height, limits.max_height);
    placement.x =
        std::clamp(window.x + (window.w - placement.w) / 2, screen.x, screen.x + screen.w - placement.w);
    placement.y =
        std::clamp(window.y + (window.h - placement.h) / 2, screen.y, screen.y + screen.h - placement.h);
    if (!size.resizable)
        gtk.gtk_widget_set_size_request(widget, placement.w, size.height > 0 ? placement.h : -1);
    Place(placement, dialog);
    gtk.g_signal_connect_data(dialog, "map", G_CALLBACK(PlaceAgain), new Placement(placement),
                              ForgetPlacement, GConnectFlags(0));
}
