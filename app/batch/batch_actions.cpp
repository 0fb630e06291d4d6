#include "app/batch/batch_actions.h"
#include "Support/Win32/Support_FileM.h"
#include "app/backup_exists.h"
#include "app/batch/batch_files.h"
#include "app/batch/batch_folder_lock.h"
#include "app/batch/batch_hca_check.h"
#include "app/batch/batch_stream_info.h"
#include "app/command_lines.h"
#include "app/container_actions.h"
#include "app/container_probe.h"
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace batch {
namespace {

namespace fs = std::filesystem;

struct Failure {
    std::string reason;
};

[[noreturn]] void Fail(const std::string& who, const std::string& why) {
    throw Failure{who + ": " + why};
}

void Run(const RValue& line) {
    tool::call_script(tool::cmd, "", line);
}

std::string LibPath(const std::string& name) {
    return FileM_SaveArea() + "lib/" + name;
}

// Command lines run in the lib directory, so every path given to them is made absolute first.
std::string FullPath(const std::string& argument) {
    return fs::absolute(argument).lexically_normal().string();
}

void RequireFile(const std::string& shown, const std::string& path) {
    std::error_code error;
    if (!fs::exists(path, error)) {
        Fail(shown, "no such file");
    }
    if (!fs::is_regular_file(path, error) || ::access(path.c_str(), R_OK) != 0) {
        Fail(shown, "not a readable file");
    }
}

// Checked first: the interpreter's copy replaces a file by renaming over it, which neither a file
// without write permission nor one marked read-only (no write bit, which does not stop root) would stop.
void RequireWritable(const std::string& shown, const std::string& path) {
    struct stat info;
    if (::access(path.c_str(), W_OK) != 0 ||
        (::stat(path.c_str(), &info) == 0 && (info.st_mode & 0222) == 0)) {
        Fail(shown, "the file is read-only");
    }
    if (::access(fs::path(path).parent_path().c_str(), W_OK) != 0) {
        Fail(shown, "its folder is read-only");
    }
}

tool::ProbeScan Probe(const std::string& shown, const std::string& container) {
    tool::ProbeScan scan = tool::dump_and_scan(container);
    if (scan.dumped) {
        tool::file_delete("lib\\temp.head");
    }
    if (!scan.found) {
        Fail(shown, "no HCA or Ogg stream found in the first 2048 bytes");
    }
    return scan;
}

struct Stream {
    bool ogg;
    int64_t offset;
    WavInfo pcm;
};

// The container's stream as the probe finds it, cut out and decoded by the helpers into lib\<wav>.
Stream DecodeStream(const std::string& shown, const std::string& container, const char* wav) {
    tool::ProbeScan scan = Probe(shown, container);
    Stream stream{scan.format == 1, tool::line_offset(scan.line), {}};
    RValue file(container);
    // One block of the header's size, skipped whole: blocks of 16 bytes would cost a system call each.
    double block = stream.offset > 0 ? static_cast<double>(stream.offset) : 65536.0;
    Run(tool::decode_stream_line(file, tool::filename_name(file), block, stream.offset > 0 ? 1.0 : 0.0,
                                 scan.format, wav));
    stream.pcm = ReadWavInfo(LibPath(wav));
    if (stream.pcm.frames == 0) {
        Fail(shown, "the stream does not decode");
    }
    return stream;
}

WavInfo DecodeAudio(const std::string& path) {
    Run(tool::decode_audio_line(path, "check.wav"));
    WavInfo pcm = ReadWavInfo(LibPath("check.wav"));
    tool::file_delete("lib\\check.wav");
    return pcm;
}

void Info(const Action& action) {
    const std::string& shown = action.paths[0];
    std::string container = FullPath(shown);
    RequireFile(shown, container);
    tool::ProbeScan scan = Probe(shown, container);
    Stream stream{scan.format == 1, tool::line_offset(scan.line), {}};
    stream.pcm = StreamInfo(container, stream.ogg, stream.offset);
    if (!stream.pcm.valid || stream.pcm.frames == 0) {
        Fail(shown, "the stream's headers cannot be read");
    }
    bool backup = tool::backup_exists(container);
    std::printf("%s\t%s\t%lld\t%d\t%d\t%.2f\t%s\n", shown.c_str(), stream.ogg ? "ogg" : "hca",
                static_cast<long long>(stream.offset), stream.pcm.rate, stream.pcm.channels,
                stream.pcm.Seconds(), backup ? "yes" : "no");
    std::fflush(stdout);
}

void Export(const Action& action) {
    const std::string& shown = action.paths[0];
    const std::string& shownOutput = action.paths[1];
    std::string container = FullPath(shown);
    std::string output = FullPath(shownOutput);
    RequireFile(shown, container);
    if (!fs::is_directory(fs::path(output).parent_path())) {
        Fail(shownOutput, "its folder does not exist");
    }
    Stream stream = DecodeStream(shown, container, "source.wav");
    Snapshot before(output);
    FileM_AddChosenForWriting(output);
    tool::export_source(output);
    WavInfo exported = DecodeAudio(output);
    // Encoders may pad the end by a frame or two; a shorter or longer file is a broken one.
    if (exported.frames == 0 || std::fabs(exported.Seconds() - stream.pcm.Seconds()) > 0.1) {
        before.PutBack();
        Fail(shownOutput, "the export does not decode to the track");
    }
}

void Replace(const Action& action) {
    const std::string& shown = action.paths[0];
    const std::string& shownAudio = action.paths[1];
    std::string container = FullPath(shown);
    std::string audio = FullPath(shownAudio);
    RequireFile(shown, container);
    RequireFile(shownAudio, audio);
    RequireWritable(shown, container);
    if (!LooksLikeAudio(audio)) {
        Fail(shownAudio, "not an MP3, Ogg or WAV file");
    }
    Probe(shown, container);
    Snapshot before(container);
    Snapshot backupBefore(container + ".orig");
    auto undo = [&](const std::string& who, const std::string& why) {
        before.PutBack();
        backupBefore.PutBack();
        Fail(who, why + " (the container is as it was)");
    };
    FileM_AddChosenForReading(audio);
    tool::replace_audio(audio, container);
    MappedFile backup(container + ".orig");
    if (!backup.Bytes() || (!backupBefore.Bytes() && backup.Bytes() != before.Bytes())) {
        undo(shown, "the backup could not be written");
    }
    // The container and its folder were writable, so a container not written means no stream came out.
    // The new container is looked at once, mapped, and its stream decoded right here, frame by frame.
    std::optional<std::string> head = ReadBytes(LibPath("tuner.head"));
    MappedFile now(container);
    if (before.Untouched() || !head || !now.Bytes() || !now.Bytes()->starts_with(*head) ||
        !HcaStreamDecodes(now.Bytes()->substr(head->size()))) {
        undo(shownAudio, "could not be converted to HCA");
    }
    tool::log_replacement(container, audio);
}

void Restore(const Action& action) {
    const std::string& shown = action.paths[0];
    std::string container = FullPath(shown);
    RequireFile(shown, container);
    RequireWritable(shown, container);
    Snapshot before(container);
    Snapshot backup(container + ".orig");
    if (!backup.Bytes()) {
        Fail(shown, "no backup " + shown + ".orig to restore");
    }
    Run(tool::restore_line(container));
    std::error_code error;
    if (ReadBytes(container) != backup.Bytes() || fs::exists(container + ".orig", error)) {
        before.PutBack();
        backup.PutBack();
        Fail(shown, "could not be restored from its backup (the container is as it was)");
    }
}

} // namespace

std::string Describe(const Action& action) {
    switch (action.kind) {
    case ActionKind::Info:
        return "info " + action.paths[0];
    case ActionKind::Export:
        return "export " + action.paths[0] + " to " + action.paths[1];
    case ActionKind::Replace:
        return "replace " + action.paths[0] + " with " + action.paths[1];
    case ActionKind::Restore:
        return "restore " + action.paths[0];
    }
    return "";
}
bool RunAction(const Action& action) {
    using Clock = std::chrono::steady_clock;
    std::string what = Describe(action);
    std::fprintf(stderr, "%s ...\n", what.c_str());
    FolderLock lock(action.paths[0], FullPath(action.paths[0]));
    auto started = Clock::now();
    try {
        switch (action.kind) {
        case ActionKind::Info:
            Info(action);
            break;
        case ActionKind::Export:
            Export(action);
            break;
        case ActionKind::Replace:
            Replace(action);
            break;
        case ActionKind::Restore:
            Restore(action);
            break;
        }
    } catch (const Failure& failure) {
        std::fprintf(stderr, "%s\n%s: failed\n", failure.reason.c_str(), what.c_str());
        return false;
    } catch (const ScriptError& error) {
        std::fprintf(stderr, "%s: %s\n%s: failed\n", action.paths[0].c_str(), error.what(), what.c_str());
        return false;
    }
    double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    std::fprintf(stderr, "%s: done in %.1f s\n", what.c_str(), seconds);
    return true;
}
} // namespace batch
