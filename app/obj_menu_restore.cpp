#include "app/actions/checked_actions.h"
#include "app/actions/container_lock.h"
#include "app/busy_note.h"
#include "app/desktop/busy_window.h"
#include "app/menu_button.h"

namespace tool {
void obj_menu_restore_Create(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_restore_Create_0");
    frame.line(1);
    menu_button_create("R");
    self_var(btn_active) = 0;
}

void obj_menu_restore_Step(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_restore_Step_0");
    frame.line(1);
    if (!menu_button_step(true, Shortcut{'R', true, true})) {
        return;
    }
    frame.line(2);
    if (global_var(file_src) == RValue("")) {
        show_message("Please import a file before restoring.");
        return;
    }
    frame.line(3);
    if (!truthy(show_question("Restore original file?"))) {
        return;
    }
    frame.line(4);
    release_preview();
    frame.line(5);
    Outcome outcome = [&] {
        const std::string container(global_var(file_src).Text());
        BusyNoteScope busy("Restoring", filename_name(global_var(file_src)), restore_watch(container));
        ContainerLock lock = window_container_lock(container);
        return restore_checked(container, while_serviced);
    }();
    frame.line(6);
    show_message(outcome.ok() ? RValue("Restore complete.")
                              : RValue("Restore failed: " + outcome.failure + "."));
    global_var(file_src) = "";
    self_var(btn_active) = 0;
    frame.line(7);
    if (global_var(menu_index) == get(BV::id)) {
        global_var(menu_index) = -1;
        window_set_cursor(cr_default);
    }
}

void obj_menu_restore_Draw(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_restore_Draw_0");
    frame.line(1);
    menu_button_draw(true);
}
} // namespace tool
