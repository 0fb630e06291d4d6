#include "app/command_lines.h"
#include "app/menu_button.h"

namespace tool {
void obj_menu_import_Create(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_import_Create_0");
    frame.line(1);
    menu_button_create("Import");
}

void obj_menu_import_Step(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_import_Step_0");
    frame.line(1);
    if (!menu_button_step(false)) {
        return;
    }
    frame.line(2);
    RValue file =
        get_open_filename_ext("Halcyon Audio (*.sab, *.mab)|*.sab;*.mab", "", global_var(file_path),
                              "Choose an audio file from your "
                              "\"...\\MORVANE\\datas\\sound\\resources\\20000music\\jp\\\" directory...");
    if (file == RValue("")) {
        return;
    }
    frame.line(3);
    global_var(file_path) = filename_path(file);
    frame.line(4);
    release_preview();
    frame.line(5);
    global_var(file_src) = file;
    frame.line(6);
    RValue name = filename_name(file);
    RValue bs = 16;
    RValue offset = call_script(byte_get_size, file, bs);
    RValue fmt = call_script(byte_get_format, file);
    frame.line(7);
    if (fmt == RValue(0.0)) {
        call_script(cmd, "", import_hca_line(file, name, bs, offset));
    }
    if (fmt == RValue(1.0)) {
        call_script(cmd, "", import_ogg_line(file, name, bs, offset));
    }
    frame.line(8);
    call_script(cmd, "", backup_test_line(file));
    if (truthy(file_exists("lib\\orig.temp"))) {
        set_on_all(obj_menu_restore, btn_active, 1);
        file_delete("lib\\orig.temp");
    } else {
        set_on_all(obj_menu_restore, btn_active, 0);
    }
    frame.line(9);
    if (!truthy(file_exists("lib\\stream.ogg"))) {
        global_var(file_src) = "";
        set_on_all(obj_menu_restore, btn_active, 0);
        show_message("Error: Import failed.");
    }
}
} // namespace tool
