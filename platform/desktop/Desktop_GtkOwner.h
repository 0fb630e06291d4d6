// GTK's dialogs and boxes belong to the owner (Desktop_DialogOwner.h): transient for it and modal (the
// window manager keeps them above it and gives them the focus when it is clicked), centred over it,
// never larger than the screen it is on, without a maximize button.
#pragma once
#include "platform/desktop/Desktop_DialogOwner.h"
#include "platform/desktop/Desktop_Gtk.h"

struct DialogSize {
    int width = 0, height = 0; // in GTK's units; 0: the dialog's natural size
    int minWidth = 0;          // so that the title is shown whole
    bool resizable = true;
};

// Makes `dialog` (not yet shown) belong to the owner, at `size` but at most 90% of the owner's screen.
void Desktop_BelongToOwner(const GtkApi& gtk, GtkWindow* dialog, const DialogSize& size);
