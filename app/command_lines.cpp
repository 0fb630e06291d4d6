#include "app/command_lines.h"

namespace tool {
namespace {
constexpr const char* in_lib = "cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & ";
constexpr const char* lib_folder = "\"%APPDATA%\\Morvane_Radio_Tuner\\lib\"";
constexpr const char* preview_file = "\"%APPDATA%\\Morvane_Radio_Tuner\\lib\\stream.ogg\"";

// dd.exe cuts the stream out (from block `offset` of `bs` bytes) into name + extension.
RValue cut_stream(const RValue& file, const RValue& name, const char* extension, const RValue& bs,
                  const RValue& offset) {
    return RValue(in_lib) + RValue("dd.exe if=\"") + file + RValue("\" of=\"") + name + RValue(extension) +
           RValue("\" bs=") + string(bs) + RValue(" skip=") + string(offset) + RValue(" & ");
}
} // namespace

RValue make_lib_line() {
    return RValue("if not exist ") + RValue(lib_folder) + RValue(" ( mkdir ") + RValue(lib_folder) +
           RValue(" )");
}

RValue unpack_line(const RValue& program_directory) {
    return RValue("start \"\" /b cmd.exe /c \"expand \"") + program_directory +
           RValue("\\lib.win\" -f:* \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" && ") + RValue("echo 1 > \"") +
           program_directory + RValue("\\temp.dat\"") + RValue("\"");
}

RValue delete_marker_line(const RValue& program_directory) {
    return RValue("del \"") + program_directory + RValue("\\temp.dat\"");
}

RValue remove_preview_line() {
    return RValue("if exist ") + RValue(preview_file) + RValue(" ( del /f /q ") + RValue(preview_file) +
           RValue(" )");
}

RValue dump_line(const RValue& path) {
    RValue line = RValue(in_lib) + RValue("xxd.exe -u -l 2048 \"");
    // a path that is not a string adds nothing
    if (path.isString()) {
        line = line + path;
    }
    return line + RValue("\" > temp.head");
}

RValue import_hca_line(const RValue& file, const RValue& name, const RValue& bs, const RValue& offset) {
    return cut_stream(file, name, ".hca", bs, offset) + RValue("vgaudiocli.exe -i \"") + name +
           RValue(".hca\" \"") + name + RValue(".wav\" & ") + RValue("copy /y \"") + name +
           RValue(".wav\" source.wav & ") + RValue("ffmpeg.exe -y -i source.wav -ac 2 stream.ogg & ") +
           RValue("del /q *.hca & ") + RValue("del /q \"") + name + RValue(".wav\"");
}

RValue import_ogg_line(const RValue& file, const RValue& name, const RValue& bs, const RValue& offset) {
    return cut_stream(file, name, ".ogg", bs, offset) + RValue("ffmpeg.exe -y -i \"") + name +
           RValue(".ogg\" -ac 2 stream.ogg & ") + RValue("ffmpeg.exe -y -i \"") + name +
           RValue(".ogg\" source.wav & ") + RValue("del /q \"") + name + RValue(".ogg\"");
}

RValue backup_test_line(const RValue& file) {
    return RValue(in_lib) + RValue("if exist \"") + file + RValue(".orig\" ( ") +
           RValue("echo 1 > orig.temp ") + RValue(")");
}

RValue export_line(const RValue& extension) {
    return RValue(in_lib) + RValue("ffmpeg.exe -y -i source.wav export") + extension;
}

RValue backup_line(const RValue& container) {
    return RValue("if not exist \"") + container + RValue(".orig\" (") + RValue("copy \"") + container +
           RValue("\" \"") + container + RValue(".orig\"") + RValue(")");
}

RValue rebuild_line(const RValue& working, const RValue& container) {
    RValue n = filename_name(working);
    return RValue(in_lib) + RValue("ffmpeg.exe -y -i \"") + working + RValue("\" \"") + n +
           RValue(".wav\" & ") + RValue("vgaudiocli.exe -i \"") + n + RValue(".wav\" \"") + n +
           RValue(".hca\" --out-format hca --hcaquality high & ") + RValue("copy /b \"tuner.head\"+\"") + n +
           RValue(".hca\" \"") + container + RValue("\" & ") + RValue("del /q ") + working + RValue(" & ") +
           RValue("del /q *.hca & ") + RValue("del /q *.wav");
}

RValue log_line(const RValue& when, const RValue& container, const RValue& chosen) {
    return RValue("echo ") + when + RValue(": \"") + filename_name(container) + RValue("\" ^> \"") +
           filename_name(chosen) + RValue("\" >> \"") + filename_path(container) + RValue("tuner.log\"");
}

RValue restore_line(const RValue& container) {
    return RValue("if exist \"") + container + RValue(".orig\" ( ") + RValue("copy /y \"") + container +
           RValue(".orig\" \"") + container + RValue("\" && ") + RValue("del /f /q \"") + container +
           RValue(".orig\" ") + RValue(")");
}

RValue cleanup_line() {
    return RValue("rmdir /s /q ") + RValue(lib_folder);
}

RValue unpack_now_line(const RValue& program_directory) {
    return RValue("expand \"") + program_directory + RValue("\\lib.win\" -f:* ") + RValue(lib_folder);
}

RValue decode_stream_line(const RValue& file, const RValue& name, const RValue& bs, const RValue& offset,
                          const RValue& fmt, const RValue& wav) {
    bool ogg = fmt == RValue(1.0);
    const char* extension = ogg ? ".ogg" : ".hca";
    RValue decoder = ogg ? RValue("ffmpeg.exe -y -i \"") : RValue("vgaudiocli.exe -i \"");
    return cut_stream(file, name, extension, bs, offset) + decoder + name + RValue(extension) +
           RValue("\" \"") + wav + RValue("\" & ") + RValue("del /q \"") + name + RValue(extension) +
           RValue("\"");
}

RValue decode_audio_line(const RValue& file, const RValue& wav) {
    return RValue(in_lib) + RValue("ffmpeg.exe -y -i \"") + file + RValue("\" \"") + wav + RValue("\"");
}
} // namespace tool
