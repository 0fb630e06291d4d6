#include "app/actions/checked_actions.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "app/actions/action_files.h"
#include "app/actions/backup_check.h"
#include "app/actions/command_lines.h"
#include "app/actions/container_actions.h"
#include "app/actions/hca_check.h"
#include "app/actions/interrupt_signals.h"
#include "app/actions/placed_files.h"
#include "app/actions/write_failure.h"
#include "app/actions/written_record.h"
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

// Room the decoded form of a compressed file takes: a 128 kbit/s MP3 decodes to about eleven times its size.
uint64_t decoded_size(const std::string& path) {
    return FileSize(path) * 16;
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

// An interruption (which cuts a copy short) gives the reason, then the first folder that cannot take
// its bytes; else the action's own.
Outcome failed(std::initializer_list<Write> writes, const std::string& otherwise) {
    if (Interrupted()) {
        return {"interrupted"};
    }
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
    if (ReadWavInfo(lib_path(wav)).frames > 0) {
        return {};
    }
    return failed({in_lib(decoded_size(container))}, "the file holds no audio stream that decodes");
}

Outcome check_import(const std::string& container) {
    // A stopped line may have left a part of a preview that would pass for one.
    Outcome outcome = Interrupted() ? Outcome("interrupted") : check_decoded(container, "source.wav");
    if (outcome.ok() && FileSize(lib_path("stream.ogg")) == 0) {
        outcome = failed({in_lib(decoded_size(container))}, "the preview could not be made");
    }
    if (!outcome.ok()) {
        forget_track();
    }
    return outcome;
}

Outcome export_checked(const std::string& target) {
    WavInfo track = ReadWavInfo(lib_path("source.wav"));
    if (track.frames == 0) {
        return {"the imported track is gone; import the container again"};
    }
    if (std::string why = write_failure(folder_of(target), 0, "the export's folder"); !why.empty()) {
        return {why};
    }
    Snapshot before(target);
    export_source(target);
    before.NoteCreated();
    if (Interrupted()) {
        before.PutBack();
        return {"interrupted"};
    }
    call_script(cmd, "", decode_audio_line(target, "check.wav"));
    WavInfo exported = ReadWavInfo(lib_path("check.wav"));
    delete_in_lib("check.wav");
    // Encoders may pad the end by a frame or two; a shorter or longer file is a broken one.
    if (exported.frames > 0 && std::fabs(exported.Seconds() - track.Seconds()) <= 0.1) {
        return {};
    }
    before.PutBack();
    uint64_t bytes = FileSize(lib_path("source.wav"));
    return failed({{folder_of(target), bytes, "the export's folder"}, in_lib(bytes)},
                  "the export does not decode to the track");
}

namespace {
std::string file_name(const std::string& path) {
    return System_PathText(System_Path(path).filename());
}

// Checked in the lib directory before anything beside the container changes.
bool rebuilt_decodes(const std::string& rebuilt) {
    std::optional<std::string> head = ReadBytes(lib_path("tuner.head"));
    return head && StartsWith(rebuilt, *head) && HcaStreamDecodes(OpenFile(rebuilt), head->size());
}

bool same_content(const std::string& a, const std::string& b) {
    return SameContent(OpenFile(a), OpenFile(b));
}

std::string renewed_note(const std::string& container, const std::string& dated) {
    return "The container had changed since the tool last wrote it (a game update?): that version is "
           "now the backup " +
           file_name(container + ".orig") + ", which Restore brings back; the earlier backup is kept as " +
           file_name(dated) + ".";
}

// The record of the tool's last write into a container, put back by a failed Replace.
class RecordScope {
  public:
    explicit RecordScope(const std::string& container)
        : container_(container), before_(last_written(container)) {}
    void PutBack() const {
        if (before_) {
            remember_written(container_, *before_);
        } else {
            forget_written(container_);
        }
    }

  private:
    std::string container_;
    std::optional<Fingerprint> before_;
};
} // namespace

Outcome replace_checked(const std::string& chosen, const std::string& container) {
    const std::string backupPath = container + ".orig";
    if (!name_fits(backupPath)) {
        return {"its backup's name " + file_name(container) + ".orig would be longer than the system allows"};
    }
    if (std::string why = overwrite_failure(container, "container"); !why.empty()) {
        return {why};
    }
    if (!LooksLikeAudio(chosen)) {
        return {"the chosen file is not MP3, Ogg or WAV audio"};
    }
    const BackupDecision backup = decide_backup(container);
    if (!backup.refusal.empty()) {
        return {backup.refusal};
    }
    const std::string dated = backup.plan == BackupPlan::Renew ? dated_backup_path(container) : "";
    if (!dated.empty() && !name_fits(dated)) {
        return {"the earlier backup's new name " + file_name(dated) +
                " would be longer than the system allows"};
    }
    const std::string folder = folder_of(container);
    const std::string rebuilt = lib_path(rebuilt_container);
    rebuild_in_lib(RValue(chosen));
    auto drop_rebuilt = [&](Outcome outcome) {
        std::error_code error;
        fs::remove(System_Path(rebuilt), error);
        return outcome;
    };
    if (Interrupted()) {
        return drop_rebuilt({"interrupted"});
    }
    if (!rebuilt_decodes(rebuilt)) {
        return drop_rebuilt(
            failed({in_lib(decoded_size(chosen))}, "the chosen file could not be converted to HCA"));
    }
    // The new container and, when one is made, the backup: both must fit beside the old container.
    const uint64_t needed = FileSize(rebuilt) + (backup.plan == BackupPlan::Keep ? 0 : FileSize(container)) +
                            (dated.empty() ? 0 : FileSize(backupPath));
    if (std::string why = write_failure(folder, needed, "the container's folder"); !why.empty()) {
        return drop_rebuilt({why});
    }
    Snapshot before(container);
    Snapshot backupBefore(backupPath);
    Snapshot datedBefore(dated);
    const RecordScope record(container);
    // A disk that turned read-only meanwhile may keep what the action made: the user is told.
    auto undo = [&](Outcome outcome) {
        if (!before.PutBack()) {
            outcome.failure += "; the container could not be put back as it was";
            outcome.containerAsItWas = false;
        }
        if (!backupBefore.PutBack() || !datedBefore.PutBack()) {
            outcome.failure += "; the backup " + file_name(backupPath) + " could not be put back as it was";
        }
        record.PutBack();
        return drop_rebuilt(outcome);
    };
    if (!dated.empty()) {
        bool kept = place_copy(backupPath, dated);
        datedBefore.NoteCreated();
        if (!kept || !same_content(dated, backupPath)) {
            return undo(failed({{folder, FileSize(backupPath), "the container's folder"}},
                               "the earlier backup could not be kept"));
        }
    }
    if (backup.plan != BackupPlan::Keep) {
        bool made = place_copy(container, backupPath);
        backupBefore.NoteCreated();
        if (!made || !SameContent(OpenFile(backupPath), before.Open())) {
            return undo(failed({{folder, FileSize(container), "the container's folder"}},
                               "the backup could not be written"));
        }
    }
    // Recorded before the container changes: a kill right after leaves a record that is true or unused.
    std::optional<Fingerprint> written = fingerprint(rebuilt);
    if (Interrupted()) {
        return undo({"interrupted"});
    }
    if (!written || !remember_written(container, *written)) {
        return undo(failed({{FileM_SaveArea(), 4096, "the tool's data folder"}},
                           "the tool's record of the new container could not be written"));
    }
    if (!place_copy(rebuilt, container) || !same_content(container, rebuilt)) {
        return undo(failed({{folder, FileSize(rebuilt), "the container's folder"}},
                           "the new container could not be written"));
    }
    if (Interrupted()) {
        return undo({"interrupted"});
    }
    Outcome done = drop_rebuilt({});
    done.note = dated.empty() ? "" : renewed_note(container, dated);
    return done;
}

Outcome restore_checked(const std::string& container, const Blocking& blocking) {
    const std::string backupPath = container + ".orig";
    if (std::string problem = container_problem(backupPath); !problem.empty()) {
        return {"its backup " + file_name(backupPath) + " " + problem};
    }
    if (std::string why = overwrite_failure(container, "container"); !why.empty()) {
        return {why};
    }
    const std::string folder = folder_of(container);
    if (std::string why = write_failure(folder, FileSize(backupPath), "the container's folder");
        !why.empty()) {
        return {why};
    }
    Snapshot before(container);
    auto undo = [&](Outcome outcome) {
        before.PutBack();
        return outcome;
    };
    bool placed = false;
    blocking([&] { placed = place_copy(backupPath, container) && same_content(container, backupPath); });
    if (!placed) {
        return undo(failed({{folder, FileSize(backupPath), "the container's folder"}},
                           "the container could not be written"));
    }
    if (Interrupted()) {
        return undo({"interrupted"});
    }
    std::error_code error;
    if (!fs::remove(System_Path(backupPath), error)) {
        return undo({"its backup " + file_name(backupPath) + " could not be removed"});
    }
    forget_written(container);
    return {};
}
} // namespace tool
