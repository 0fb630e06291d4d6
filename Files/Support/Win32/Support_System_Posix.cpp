#include "Runner/Runner_Log.h"
#include "Support/Win32/Support_System.h"
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <locale.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Switches this thread to the user's default locale for as long as it lives.
class UserLocaleScope {
  public:
    UserLocaleScope() : user_(newlocale(LC_ALL_MASK, "", nullptr)) {
        if (user_ != nullptr) {
            previous_ = uselocale(user_);
        }
    }
    ~UserLocaleScope() {
        if (user_ != nullptr) {
            uselocale(previous_);
            freelocale(user_);
        }
    }
    UserLocaleScope(const UserLocaleScope&) = delete;
    UserLocaleScope& operator=(const UserLocaleScope&) = delete;

  private:
    locale_t user_;
    locale_t previous_ = nullptr;
};

mode_t CurrentUmask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}
} // namespace

std::filesystem::path System_Path(std::string_view utf8) {
    return std::filesystem::path(utf8);
}

std::string System_PathText(const std::filesystem::path& path) {
    return path.string();
}

std::string System_NativeSeparators(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

double System_ParseNumber(const char* text) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text, nullptr, c);
}

std::optional<std::string> System_LocalDatetimeText(std::time_t time) {
    std::tm parts{};
    if (localtime_r(&time, &parts) == nullptr) {
        return std::nullopt;
    }
    char text[256];
    UserLocaleScope locale;
    size_t length = std::strftime(text, sizeof text, "%c", &parts);
    return std::string(text, length);
}

void System_SetEnvironment(const char* name, const std::string& value) {
    ::setenv(name, value.c_str(), 1);
}

std::string System_ExecutableFolder() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path().string() + "/" : path.parent_path().string() + "/";
}

std::string System_DefaultAppData() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && *data != '\0') {
        return data;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : "/tmp";
    }
    return std::string(home) + "/.local/share";
}

bool System_SameFile(const std::string& a, const std::string& b) {
    struct stat first;
    struct stat second;
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string System_ResolvedPath(const std::string& name) {
    std::error_code error;
    std::filesystem::path resolved =
        std::filesystem::weakly_canonical(std::filesystem::absolute(System_Path(name), error), error);
    return error ? name : System_PathText(resolved);
}

// The path a linked target points to is the one replaced.
System_ReplacingFile::System_ReplacingFile(const std::string& target) : target_(target) {
    std::error_code error;
    for (int hop = 0; hop < 40 && std::filesystem::is_symlink(target_, error); ++hop) {
        std::filesystem::path link = std::filesystem::read_symlink(target_, error);
        target_ = link.is_absolute() ? link : target_.parent_path() / link;
    }
    // A short name whatever the target's: one near the system's limit takes no suffix.
    std::string pattern = (target_.parent_path() / ".morvane-copy-XXXXXX").string();
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0) {
        temp_ = pattern;
        file_ = ::fdopen(fd, "wb");
    }
}

System_ReplacingFile::~System_ReplacingFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
    }
}

// A new target is readable as a file the program made; a replaced one keeps its owner, group and mode
// (a game's container written by root stays the game user's). The owner first: a change of owner
// clears the set-id bits.
bool System_ReplacingFile::Commit() {
    struct stat old;
    const bool replacing = ::stat(target_.c_str(), &old) == 0;
    mode_t mode = replacing ? old.st_mode & 07777 : 0666 & ~CurrentUmask();
    if (replacing && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        // Refused to others than root unless only the group changes to one of the user's: the file
        // is then the user's own, as any program's new file would be.
        // A refusal leaves the file the user's (glibc's fortified fchown wants its result taken).
        [[maybe_unused]] const int refused = ::fchown(::fileno(file_), old.st_uid, old.st_gid);
    }
    bool written =
        std::fflush(file_) == 0 && ::fchmod(::fileno(file_), mode) == 0 && ::fsync(::fileno(file_)) == 0;
    bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!written || !closed || ::rename(temp_.c_str(), target_.c_str()) != 0) {
        return false;
    }
    temp_.clear();
    return true;
}

void* System_LoadLibrary(const std::string& path) {
    errno = 0;
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        Runner_Log("LoadLibraryA failed with error code %d\n", errno);
        Runner_Log("%s\n", ::dlerror());
    }
    return module;
}

void* System_FindFunction(void* module, const char* name) {
    return ::dlsym(module, name);
}

void System_FreeLibrary(void* module) {
    ::dlclose(module);
}

System_CurrentFolderScope::System_CurrentFolderScope(const std::string& folder) {
    std::error_code error;
    previous_ = std::filesystem::current_path(error);
    if (!folder.empty() && ::chdir(folder.c_str()) != 0) {
        Runner_Log("Could not enter %s\n", folder.c_str());
    }
}

System_CurrentFolderScope::~System_CurrentFolderScope() {
    std::error_code error;
    if (!previous_.empty()) {
        std::filesystem::current_path(previous_, error);
    }
}
