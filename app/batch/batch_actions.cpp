#include "app/batch/batch_actions.h"
#include "Shell_Names.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "app/actions/action_files.h"
#include "app/actions/checked_actions.h"
#include "app/actions/command_lines.h"
#include "app/actions/container_actions.h"
#include "app/actions/container_lock.h"
#include "app/actions/container_probe.h"
#include "app/actions/stream_info.h"
#include <chrono>
#include <cstdio>
#include <filesystem>

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

// Command lines run in the lib directory, so every path given to them is made absolute first, and
// resolved as the system resolves it: ".." after a link leads out of the folder it points to.
std::string FullPath(const std::string& argument) {
    return System_ResolvedPath(argument);
}

void RequireFile(const std::string& shown, const std::string& path) {
    std::error_code error;
    if (!fs::exists(System_Path(path), error)) {
        Fail(shown, "no such file");
    }
    if (!fs::is_regular_file(System_Path(path), error) || !tool::OpenFile(path).valid()) {
        Fail(shown, "not a readable file");
    }
}

void Check(const std::string& shown, const tool::Outcome& outcome, const char* after) {
    if (!outcome.ok()) {
        Fail(shown, outcome.failure + (outcome.containerAsItWas ? after : ""));
    }
}

tool::ProbeScan Probe(const std::string& shown, const std::string& container) {
    std::error_code error;
    if (fs::file_size(System_Path(container), error) == 0 && !error) {
        Fail(shown, "the file is empty");
    }
    tool::ProbeScan scan = tool::probe_container(container);
    if (!scan.found) {
        Fail(shown, "no HCA or Ogg stream found in the first 2048 bytes");
    }
    return scan;
}

struct Stream {
    bool ogg;
    int64_t offset;
    tool::WavInfo pcm;
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
    if (tool::Outcome decoded = tool::check_decoded(container, wav); !decoded.ok()) {
        Fail(shown, decoded.failure);
    }
    stream.pcm = tool::ReadWavInfo(LibPath(wav));
    return stream;
}

void Info(const Action& action) {
    const std::string& shown = action.paths[0];
    std::string container = FullPath(shown);
    RequireFile(shown, container);
    tool::ProbeScan scan = Probe(shown, container);
    Stream stream{scan.format == 1, tool::line_offset(scan.line), {}};
    stream.pcm = tool::StreamInfo(container, stream.ogg, stream.offset);
    if (!stream.pcm.valid || stream.pcm.frames == 0) {
        Fail(shown, "the stream's headers cannot be read");
    }
    // Looked at directly: the window's backup test line copies the whole backup to learn that it exists.
    std::error_code error;
    bool backup = fs::is_regular_file(System_Path(container + ".orig"), error);
    std::printf("%s\t%s\t%lld\t%d\t%d\t%.2f\t%s\n", shell::EscapeControls(shown).c_str(),
                stream.ogg ? "ogg" : "hca", static_cast<long long>(stream.offset), stream.pcm.rate,
                stream.pcm.channels, stream.pcm.Seconds(), backup ? "yes" : "no");
    std::fflush(stdout);
}

void Export(const Action& action) {
    const std::string& shown = action.paths[0];
    const std::string& shownOutput = action.paths[1];
    std::string container = FullPath(shown);
    std::string output = FullPath(shownOutput);
    RequireFile(shown, container);
    std::error_code error;
    if (!fs::is_directory(System_Path(output).parent_path(), error)) {
        Fail(shownOutput, "its folder does not exist");
    }
    DecodeStream(shown, container, "source.wav");
    FileM_AddChosenForWriting(output);
    Check(shownOutput, tool::export_checked(output), "");
}

void Replace(const Action& action) {
    const std::string& shown = action.paths[0];
    std::string container = FullPath(shown);
    std::string audio = FullPath(action.paths[1]);
    RequireFile(shown, container);
    RequireFile(action.paths[1], audio);
    Probe(shown, container);
    FileM_AddChosenForReading(audio);
    tool::Outcome outcome = tool::replace_checked(audio, container);
    Check(shown, outcome, " (the container is as it was)");
    tool::log_replacement(container, audio);
    if (!outcome.note.empty()) {
        std::fprintf(stderr, "%s: %s\n", shown.c_str(), outcome.note.c_str());
    }
}

void Restore(const Action& action) {
    const std::string& shown = action.paths[0];
    std::string container = FullPath(shown);
    RequireFile(shown, container);
    // Never replaced (or restored already): nothing was lost, there is just nothing to bring back.
    std::error_code error;
    if (!fs::exists(fs::symlink_status(System_Path(container + ".orig"), error))) {
        Fail(shown, "it has no backup " + System_PathText(System_Path(container + ".orig").filename()) +
                        " to restore from");
    }
    Check(shown, tool::restore_checked(container, tool::call_directly), " (the container is as it was)");
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
    tool::ContainerLock lock(FullPath(action.paths[0]), [&](const std::function<void()>& block) {
        std::fprintf(stderr, "%s: waiting for another action on it\n", action.paths[0].c_str());
        block();
    });
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
