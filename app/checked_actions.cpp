#include "app/checked_actions.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "app/batch/batch_files.h"
#include "app/batch/batch_hca_check.h"
#include "app/batch/batch_interrupt.h"
#include "app/command_lines.h"
#include "app/container_actions.h"
#include "app/write_failure.h"
#include <cmath>
#include <filesystem>

namespace tool {
namespace {
namespace fs = std::filesystem;

std::string lib_path(const std::string& name) {
    return FileM_SaveArea() + "lib/" + name;
}

std::string folder_of(const std::string& path) {
    std::string folder = System_PathText(System_Path(path).parent_path());
    return folder.empty() ? "." : folder;
}

uint64_t size_of(const std::string& path) {
    std::error_code error;
    uintmax_t size = fs::file_size(System_Path(path), error);
    return error ? 0 : static_cast<uint64_t>(size);
}

// Room the decoded form of a compressed file takes: a 128 kbit/s MP3 decodes to about eleven times its size.
uint64_t decoded_size(const std::string& path) {
    return size_of(path) * 16;
}

// A folder an action writes in, the bytes it needed there, and how the user knows the folder.
struct Write {
    std::string folder;
    uint64_t bytes;
    const char* noun;
};

Write in_lib(uint64_t bytes) {
    return {FileM_SaveArea() + "lib", bytes, "the tool's work folder"};
}

// The first folder that cannot take its bytes gives the reason; else the action's own.
Outcome failed(std::initializer_list<Write> writes, const std::string& otherwise) {
    for (const Write& write : writes) {
        if (std::string why = write_failure(write.folder, write.bytes, write.noun); !why.empty()) {
            return {why};
        }
    }
    return {otherwise};
}

void delete_in_lib(const char* name) {
    RValue path = RValue("lib\\") + RValue(name);
    if (truthy(file_exists(path))) {
        file_delete(path);
    }
}
} // namespace

void forget_track() {
    delete_in_lib("stream.ogg");
    delete_in_lib("source.wav");
}

Outcome check_decoded(const std::string& container, const char* wav) {
    if (batch::ReadWavInfo(lib_path(wav)).frames > 0) {
        return {};
    }
    return failed({in_lib(decoded_size(container))}, "the file holds no audio stream that decodes");
}

Outcome check_import(const std::string& container) {
    Outcome outcome = check_decoded(container, "source.wav");
    if (outcome.ok() && size_of(lib_path("stream.ogg")) == 0) {
        outcome = failed({in_lib(decoded_size(container))}, "the preview could not be made");
    }
    if (!outcome.ok()) {
        forget_track();
    }
    return outcome;
}

Outcome export_checked(const std::string& target) {
    batch::WavInfo track = batch::ReadWavInfo(lib_path("source.wav"));
    if (track.frames == 0) {
        return {"the imported track is gone; import the container again"};
    }
    if (std::string why = write_failure(folder_of(target), 0, "the export's folder"); !why.empty()) {
        return {why};
    }
    batch::Snapshot before(target);
    export_source(target);
    before.NoteCreated();
    if (batch::Interrupted()) {
        before.PutBack();
        return {"interrupted"};
    }
    call_script(cmd, "", decode_audio_line(target, "check.wav"));
    batch::WavInfo exported = batch::ReadWavInfo(lib_path("check.wav"));
    delete_in_lib("check.wav");
    // Encoders may pad the end by a frame or two; a shorter or longer file is a broken one.
    if (exported.frames > 0 && std::fabs(exported.Seconds() - track.Seconds()) <= 0.1) {
        return {};
    }
    before.PutBack();
    uint64_t bytes = size_of(lib_path("source.wav"));
    return failed({{folder_of(target), bytes, "the export's folder"}, in_lib(bytes)},
                  "the export does not decode to the track");
}

Outcome replace_checked(const std::string& chosen, const std::string& container) {
    if (std::string why = overwrite_failure(container, "container"); !why.empty()) {
        return {why};
    }
    if (!batch::LooksLikeAudio(chosen)) {
        return {"the chosen file is not MP3, Ogg or WAV audio"};
    }
    batch::Snapshot before(container);
    batch::Snapshot backupBefore(container + ".orig");
    const std::string folder = folder_of(container);
    auto undo = [&](Outcome outcome) {
        before.PutBack();
        backupBefore.PutBack();
        return outcome;
    };
    replace_audio(chosen, container);
    backupBefore.NoteCreated();
    if (batch::Interrupted()) {
        return undo({"interrupted"});
    }
    batch::OpenFile backup(container + ".orig");
    if (!backup.valid() || (!backupBefore.Existed() && !batch::SameContent(backup, before.Open()))) {
        return undo(failed({{folder, size_of(container), "the container's folder"}},
                           "the backup could not be written"));
    }
    // The new container's stream is checked right here, a block of frames at a time.
    std::optional<std::string> head = batch::ReadBytes(lib_path("tuner.head"));
    batch::OpenFile now(container);
    if (before.Untouched() || !head || !now.valid() || !batch::StartsWith(container, *head) ||
        !batch::HcaStreamDecodes(now, head->size())) {
        return undo(
            failed({{folder, size_of(container), "the container's folder"}, in_lib(decoded_size(chosen))},
                   "the chosen file could not be converted to HCA"));
    }
    return {};
}

Outcome restore_checked(const std::string& container) {
    const std::string backupPath = container + ".orig";
    std::error_code error;
    if (!fs::is_regular_file(System_Path(backupPath), error)) {
        return {"its backup " + System_PathText(System_Path(backupPath).filename()) + " is gone"};
    }
    // Before the snapshots: on Windows keeping a file needs its folder to take a second name.
    if (std::string why = overwrite_failure(container, "container"); !why.empty()) {
        return {why};
    }
    batch::Snapshot backup(backupPath);
    batch::Snapshot before(container);
    call_script(cmd, "", restore_line(container));
    if (batch::Interrupted()) {
        before.PutBack();
        backup.PutBack();
        return {"interrupted"};
    }
    batch::OpenFile now(container);
    if (now.valid() && batch::SameContent(now, backup.Open()) &&
        !fs::exists(System_Path(backupPath), error)) {
        return {};
    }
    before.PutBack();
    backup.PutBack();
    return failed({{folder_of(container), size_of(backupPath), "the container's folder"}},
                  "the container could not be written");
}
} // namespace tool
