#include "app/menu_button.h"

namespace tool {
namespace {
constexpr const char* in_lib = "cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & ";

// dd.exe cuts the stream out (from block `offset` of `bs` bytes) into name + extension.
RValue cut_stream(const RValue& file, const RValue& name, const char* extension, const RValue& bs,
                  const RValue& offset) {
    return RValue(in_lib) + RValue("dd.exe if=\"") + file + RValue("\" of=\"") + name + RValue(extension) +
           RValue("\" bs=") + string(bs) + RValue(" skip=") + string(offset) + RValue(" & ");
}

RValue hca_pipeline(const RValue& file, const RValue& name, const RValue& bs, const RValue& offset) {
    return cut_stream(file, name, ".hca", bs, offset) + RValue("vgaudiocli.exe -i \"") + name +
           RValue(".hca\" \"") + name + RValue(".wav\" & ") + RValue("copy /y \"") + name +
           RValue(".wav\" source.wav & ") + RValue("ffmpeg.exe -y -i source.wav -ac 2 stream.ogg & ") +
           RValue("del /q *.hca & ") + RValue("del /q \"") + name + RValue(".wav\"");
}

// Besides the preview, the container's own Ogg stream is decoded to source.wav, so that Export
// always exports the container imported last.
RValue ogg_pipeline(const RValue& file, const RValue& name, const RValue& bs, const RValue& offset) {
    return cut_stream(file, name, ".ogg", bs, offset) + RValue("ffmpeg.exe -y -i \"") + name +
           RValue(".ogg\" -ac 2 stream.ogg & ") + RValue("ffmpeg.exe -y -i \"") + name +
           RValue(".ogg\" source.wav & ") + RValue("del /q \"") + name + RValue(".ogg\"");
}

RValue backup_test(const RValue& file) {
    return RValue(in_lib) + RValue("if exist \"") + file + RValue(".orig\" ( ") +
           RValue("echo 1 > orig.temp ") + RValue(")");
}
} // namespace

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
        call_script(cmd, "", hca_pipeline(file, name, bs, offset));
    }
    if (fmt == RValue(1.0)) {
        call_script(cmd, "", ogg_pipeline(file, name, bs, offset));
    }
    frame.line(8);
    call_script(cmd, "", backup_test(file));
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
