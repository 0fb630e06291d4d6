#include "app/menu_button.h"

namespace tool {
namespace {
constexpr const char* about_text =
    "Morvane Radio Tuner by the Morvane Radio Tuner contributors.\n\n"
    "FFmpeg, the program behind ffmpeg.exe, copyright (c) 2000-2022 the FFmpeg developers;\n\n"
    "vgaudiocli, the HCA codec behind vgaudiocli.exe, written for this tool by the Morvane Radio Tuner "
    "contributors, 2026.\n\n"
    "Also inside: SDL2, OpenAL Soft, Ogg Vorbis, libpng, zlib, libmspack, the fonts Open Sans and DejaVu "
    "Sans, and on Windows LAME in ffmpeg.exe; their licences come with the tool.\n\n"
    "This tool is not an official product of the publisher of MORVANE and is not endorsed by it.\n\n"
    "Keys: Ctrl+O Import, Space play or pause, Ctrl+E Export, Ctrl+R Replace, Ctrl+Shift+R Restore, "
    "F1 About, Left and Right volume, Ctrl+Q or Escape close.\n\n"
    "Use at your own risk!";
} // namespace

void obj_menu_about_Create(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_about_Create_0");
    frame.line(1);
    menu_button_create("?");
    self_var(str_attrib) = about_text;
}

void obj_menu_about_Step(CInstance* self, CInstance* other) {
    Frame frame(self, other, "Object_obj_menu_about_Step_0");
    frame.line(1);
    if (menu_button_step(false, Shortcut{vk_f1})) {
        frame.line(2);
        show_message(self_var(str_attrib));
    }
}
} // namespace tool
