#include "platform/desktop/Desktop_Gtk.h"
#include "platform/Platform_Log.h"
#include "platform/desktop/Desktop_Messages.h"
#include <SDL2/SDL.h>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace {
constexpr const char* GtkLibrary = "libgtk-3.so.0";

// GTK cannot be unloaded once started (its types stay registered), so the library stays for the
// process's life and its handle is never closed.
const GtkApi* Load() {
    void* library = dlopen(GtkLibrary, RTLD_LAZY | RTLD_LOCAL);
    if (!library) {
        Platform_Log("GTK could not be loaded (%s): file dialogs count as cancelled\n", dlerror());
        return nullptr;
    }
    static GtkApi api;
    const char* missing = nullptr;
#define DESKTOP_GTK_RESOLVE(name)                                                                            \
    api.name = reinterpret_cast<decltype(api.name)>(dlsym(library, #name));                                  \
    if (!api.name)                                                                                           \
        missing = #name;
    DESKTOP_GTK_FUNCTIONS(DESKTOP_GTK_RESOLVE)
#undef DESKTOP_GTK_RESOLVE
    if (missing) {
        Platform_Log("GTK could not be loaded (%s has no %s): file dialogs count as cancelled\n", GtkLibrary,
                     missing);
        return nullptr;
    }
    return &api;
}
} // namespace

const GtkApi* Desktop_GtkLoaded() {
    static const GtkApi* const loaded = Load();
    return loaded;
}

const GtkApi* Desktop_Gtk() {
    static const GtkApi* const started = []() -> const GtkApi* {
        const GtkApi* gtk = Desktop_GtkLoaded();
        if (!gtk)
            return nullptr;
        // On the window's own display server, where a dialog can be made to belong to it.
        const char* driver = SDL_GetCurrentVideoDriver();
        if (driver != nullptr && std::strcmp(driver, "x11") == 0)
            setenv("GDK_BACKEND", "x11", 0);
        if (!gtk->gtk_init_check(nullptr, nullptr)) {
            Platform_Log("No display for GTK: file dialogs count as cancelled\n");
            return nullptr;
        }
        // GTK's own handler would end the program at once, a box open and an action under way.
        GdkDisplay* display = gtk->gdk_display_get_default();
        if (gtk->g_type_check_instance_is_a(reinterpret_cast<GTypeInstance*>(display),
                                            gtk->gdk_x11_display_get_type()))
            EndAsHangUpWhenDisplayBreaks(gtk->gdk_x11_display_get_xdisplay(display));
        return gtk;
    }();
    return started;
}

void Desktop_GtkSettle(const GtkApi& gtk) {
    while (gtk.gtk_events_pending())
        gtk.gtk_main_iteration_do(FALSE);
}
