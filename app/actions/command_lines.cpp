#include "app/actions/command_lines.h"
#include "Shell_Names.h"

namespace tool {
namespace {
constexpr const char* in_lib = "cd /d \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" & ";
constexpr const char* lib_folder = "\"%APPDATA%\\Morvane_Radio_Tuner\\lib\"";
constexpr const char* preview_file = "\"%APPDATA%\\Morvane_Radio_Tuner\\lib\\stream.ogg\"";

// Every name and path goes into a line through here: one the interpreter would read differently
// (a quote, a '%', a wildcard, a leading '-', ...) travels as a name token, any other as it is.
RValue as_name(const RValue& piece) {
    return piece.isString() ? RValue(shell::AsName(piece.Text())) : piece;
}

// dd.exe cuts the stream out (from block `offset` of `bs` bytes) into name + extension.
RValue cut_stream(const RValue& file, const RValue& name, const char* extension, const RValue& bs,
                  const RValue& offset) {
    return RValue(in_lib) + RValue("dd.exe if=\"") + as_name(file) + RValue("\" of=\"") + as_name(name) +
           RValue(extension) + RValue("\" bs=") + string(bs) + RValue(" skip=") + string(offset) +
           RValue(" & ");
}
} // namespace

RValue make_lib_line() {
    return RValue("if not exist ") + RValue(lib_folder) + RValue(" ( mkdir ") + RValue(lib_folder) +
           RValue(" )");
}

RValue unpack_line(const RValue& program_directory) {
    return RValue("start \"\" /b cmd.exe /c \"expand \"") + as_name(program_directory) +
           RValue("\\lib.win\" -f:* \"%APPDATA%\\Morvane_Radio_Tuner\\lib\" && ") + RValue("echo 1 > \"") +
           as_name(program_directory) + RValue("\\temp.dat\"") + RValue("\"");
}

RValue delete_marker_line(const RValue& program_directory) {
    return RValue("del \"") + as_name(program_directory) + RValue("\\temp.dat\"");
}

RValue remove_preview_line() {
    return RValue("if exist ") + RValue(preview_file) + RValue(" ( del /f /q ") + RValue(preview_file) +
           RValue(" )");
}

RValue dump_line(const RValue& path) {
    RValue line = RValue(in_lib) + RValue("xxd.exe -u -l 2048 \"");
    // a path that is not a string adds nothing
    if (path.isString()) {
        line = line + as_name(path);
    }
    return line + RValue("\" > temp.head");
}

RValue import_hca_line(const RValue& file, const RValue& name, const RValue& bs, const RValue& offset) {
    return cut_stream(file, name, ".hca", bs, offset) + RValue("vgaudiocli.exe -i \"") + as_name(name) +
           RValue(".hca\" \"") + as_name(name) + RValue(".wav\" & ") + RValue("copy /y \"") + as_name(name) +
           RValue(".wav\" source.wav & ") + RValue("ffmpeg.exe -y -i source.wav -ac 2 stream.ogg & ") +
           RValue("del /q *.hca & ") + RValue("del /q \"") + as_name(name) + RValue(".wav\"");
}

RValue import_ogg_line(const RValue& file, const RValue& name, const RValue& bs, const RValue& offset) {
    return cut_stream(file, name, ".ogg", bs, offset) + RValue("ffmpeg.exe -y -i \"") + as_name(name) +
           RValue(".ogg\" -ac 2 stream.ogg & ") + RValue("ffmpeg.exe -y -i \"") + as_name(name) +
           RValue(".ogg\" source.wav & ") + RValue("del /q \"") + as_name(name) + RValue(".ogg\"");
}

RValue backup_test_line(const RValue& file) {
    return RValue(in_lib) + RValue("if exist \"") + as_name(file) + RValue(".orig\" ( ") +
           RValue("echo 1 > orig.temp ") + RValue(")");
}

RValue export_line(const RValue& extension) {
    return RValue(in_lib) + RValue("ffmpeg.exe -y -i source.wav export") + as_name(extension);
}

RValue rebuild_line(const RValue& working) {
    RValue name = filename_name(working);
    return RValue(in_lib) + RValue("ffmpeg.exe -y -i \"") + as_name(working) + RValue("\" \"") +
           as_name(name) + RValue(".wav\" & ") + RValue("vgaudiocli.exe -i \"") + as_name(name) +
           RValue(".wav\" \"") + as_name(name) + RValue(".hca\" --out-format hca --hcaquality high & ") +
           RValue("copy /b \"tuner.head\"+\"") + as_name(name) + RValue(".hca\" \"") +
           RValue(rebuilt_container) + RValue("\" & ") + RValue("del /q ") + as_name(working) +
           RValue(" & ") + RValue("del /q *.hca & ") + RValue("del /q *.wav");
}

RValue log_line(const RValue& when, const RValue& container, const RValue& chosen) {
    auto shown = [](const RValue& name) { return RValue(shell::EscapeControls(name.Text())); };
    return RValue("echo ") + as_name(when) + RValue(": \"") + as_name(shown(filename_name(container))) +
           RValue("\" ^> \"") + as_name(shown(filename_name(chosen))) + RValue("\" >> \"") +
           as_name(filename_path(container)) + RValue("tuner.log\"");
}

RValue cleanup_line() {
    return RValue("rmdir /s /q ") + RValue(lib_folder);
}

RValue unpack_now_line(const RValue& program_directory) {
    return RValue("expand \"") + as_name(program_directory) + RValue("\\lib.win\" -f:* ") +
           RValue(lib_folder);
}

RValue decode_stream_line(const RValue& file, const RValue& name, const RValue& bs, const RValue& offset,
                          const RValue& fmt, const RValue& wav) {
    bool ogg = fmt == RValue(1.0);
    const char* extension = ogg ? ".ogg" : ".hca";
    RValue decoder = ogg ? RValue("ffmpeg.exe -y -i \"") : RValue("vgaudiocli.exe -i \"");
    return cut_stream(file, name, extension, bs, offset) + decoder + as_name(name) + RValue(extension) +
           RValue("\" \"") + as_name(wav) + RValue("\" & ") + RValue("del /q \"") + as_name(name) +
           RValue(extension) + RValue("\"");
}

RValue decode_audio_line(const RValue& file, const RValue& wav) {
    return RValue(in_lib) + RValue("ffmpeg.exe -y -i \"") + as_name(file) + RValue("\" \"") + as_name(wav) +
           RValue("\"");
}
} // namespace tool
