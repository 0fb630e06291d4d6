// tuner.dll: RunSilent runs a command line through morvane-cmd, which lies beside this library,
// as a hidden child: no terminal input or output, and the call returns when the line has ended.
#include "Shell_FileSystem.h"
#include "Shell_Lifeline.h"
#include "Shell_Names.h"
#include "Shell_Process.h"
#include "Shell_Variables.h"
#include <string>

#ifdef _WIN32
#define TUNER_EXPORT __declspec(dllexport)
#else
#define TUNER_EXPORT __attribute__((visibility("default")))
#endif

extern "C" TUNER_EXPORT double RunSilent(const char* unused, const char* line);
extern "C" TUNER_EXPORT double StopRunning();

namespace {

constexpr uint64_t MaxLogSize = 1 << 20;

// Found while the library is being loaded, when the library's own folder is the current one.
const std::string interpreterPath = shell::InterpreterBeside(reinterpret_cast<const void*>(&RunSilent));

std::string SaveArea() {
    std::optional<std::string> appData = shell::EnvironmentVariable("APPDATA");
    return appData && !appData->empty() ? shell::Absolute(*appData, "Morvane_Radio_Tuner") : "";
}

// The diagnostic log in the save area when it can be written, else nothing: a log is never a
// reason not to run a line.
shell::UniqueFd OpenLog(const std::string& saveArea) {
    if (saveArea.empty() || !shell::IsDirectory(saveArea)) {
        return shell::OpenForWriting(shell::NullDevice, shell::Opening::Append);
    }
    std::string path = shell::Absolute(saveArea, "shell.log");
    bool tooLong = shell::Inspect(path).size > MaxLogSize;
    shell::UniqueFd log =
        shell::OpenForWriting(path, tooLong ? shell::Opening::Restart : shell::Opening::Append);
    return log.valid() ? std::move(log) : shell::OpenForWriting(shell::NullDevice, shell::Opening::Append);
}

// Lines start in an empty folder of ours, never in the folder the tool was started from: a line
// whose "cd /d" failed then deletes and writes nothing of the user's.
std::string StartFolder(const std::string& saveArea) {
    std::string folder = saveArea.empty() ? "" : shell::Absolute(saveArea, "shell");
    if (folder.empty() || (!shell::MakeFolder(folder) && !shell::IsDirectory(folder))) {
        return shell::SystemFolder();
    }
    return folder;
}

} // namespace

// Returns the line's exit status, or -1 when the interpreter could not be started.
extern "C" TUNER_EXPORT double RunSilent(const char*, const char* line) {
    if (line == nullptr) {
        return -1;
    }
    std::string saveArea = SaveArea();
    shell::UniqueFd log = OpenLog(saveArea);
    if (!log.valid()) {
        return -1;
    }
    shell::WriteAll(log.get(), "> " + shell::ShowNames(line) + "\n");
    std::optional<int> status = shell::RunChild({interpreterPath,
                                                 {"morvane-cmd", line},
                                                 StartFolder(saveArea),
                                                 true,
                                                 log.get(),
                                                 log.get(),
                                                 false,
                                                 true});
    return status ? *status : -1;
}

// Ends the line RunSilent is running, and all it started, at once (RunSilent then returns); called from
// another thread than RunSilent's.
extern "C" TUNER_EXPORT double StopRunning() {
    shell::CutLifeline();
    return 0;
}
