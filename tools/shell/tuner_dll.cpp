// tuner.dll: RunSilent runs a command line through morvane-cmd, which lies beside this library,
// as a hidden child: no terminal input or output, and the call returns when the line has ended.
#include "Shell_Files.h"
#include "Shell_Names.h"
#include "Shell_Process.h"
#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

extern "C" double RunSilent(const char* unused, const char* line);

namespace {

constexpr off_t MaxLogSize = 1 << 20;

// Found while the library is being loaded: the runtime makes the library's folder the current
// folder around loading, so even a relative load path resolves here.
std::string LocateInterpreter() {
    Dl_info info{};
    char folder[PATH_MAX];
    if (::dladdr(reinterpret_cast<void*>(&RunSilent), &info) == 0 || info.dli_fname == nullptr ||
        ::realpath(info.dli_fname, folder) == nullptr) {
        return "morvane-cmd";
    }
    std::string path = folder;
    return path.substr(0, path.find_last_of('/') + 1) + "morvane-cmd";
}

const std::string interpreterPath = LocateInterpreter();

std::string SaveArea() {
    const char* appData = std::getenv("APPDATA");
    return appData != nullptr && *appData != '\0' ? std::string(appData) + "/Morvane_Radio_Tuner" : "";
}

// The diagnostic log in the save area when it can be written, else nothing: a log is never a
// reason not to run a line.
shell::UniqueFd OpenLog(const std::string& saveArea) {
    std::string path = saveArea + "/shell.log";
    struct stat info;
    bool tooLong = ::stat(path.c_str(), &info) == 0 && info.st_size > MaxLogSize;
    int flags = O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (tooLong ? O_TRUNC : 0);
    shell::UniqueFd log(
        saveArea.empty() || !shell::IsDirectory(saveArea) ? -1 : ::open(path.c_str(), flags, 0644));
    return log.valid() ? std::move(log) : shell::UniqueFd(::open("/dev/null", O_WRONLY | O_CLOEXEC));
}

// Lines start in an empty folder of ours, never in the folder the tool was started from: a line
// whose "cd /d" failed then deletes and writes nothing of the user's.
std::string StartFolder(const std::string& saveArea) {
    std::string folder = saveArea.empty() ? "" : saveArea + "/shell";
    if (folder.empty() || (::mkdir(folder.c_str(), 0700) != 0 && !shell::IsDirectory(folder))) {
        return "/";
    }
    return folder;
}

} // namespace

// Returns the line's exit status, or -1 when the interpreter could not be started.
extern "C" __attribute__((visibility("default"))) double RunSilent(const char*, const char* line) {
    if (line == nullptr) {
        return -1;
    }
    std::string saveArea = SaveArea();
    shell::UniqueFd log = OpenLog(saveArea);
    if (!log.valid()) {
        return -1;
    }
    shell::WriteAll(log.get(), "> " + shell::ShowNames(line) + "\n");
    pid_t pid = shell::StartChild(
        {interpreterPath, {"morvane-cmd", line}, StartFolder(saveArea), true, log.get(), log.get()});
    return pid < 0 ? -1 : shell::WaitForExit(pid);
}
