// cd, mkdir and rmdir.
#include "Shell_Builtins.h"
#include "Shell_Files.h"
#include "Shell_Session.h"
#include "Shell_Words.h"
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace shell {
namespace {

bool MakeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        if (::mkdir(path.substr(0, slash).c_str(), 0777) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return ::mkdir(path.c_str(), 0777) == 0;
}

// Removes `name` inside the folder `parent`. A symbolic link is removed itself and never
// followed, so nothing outside the tree is touched.
bool RemoveTree(int parent, const std::string& name) {
    struct stat info;
    if (::fstatat(parent, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        return ::unlinkat(parent, name.c_str(), 0) == 0;
    }
    UniqueFd folder(::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.valid()) {
        return false;
    }
    bool removed = true;
    for (const std::string& entry : ListFolder(folder.get())) {
        removed = RemoveTree(folder.get(), entry) && removed;
    }
    return removed && ::unlinkat(parent, name.c_str(), AT_REMOVEDIR) == 0;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

bool RemoveFolder(const std::string& path, bool wholeTree) {
    std::string name = BaseName(path);
    if (name.empty() || name == "." || name == ".." || path == "/") {
        return false;
    }
    if (!wholeTree) {
        return ::rmdir(path.c_str()) == 0;
    }
    UniqueFd parent(::open(ParentFolder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return parent.valid() && RemoveTree(parent.get(), name);
}

} // namespace

int Builtin_Cd(Session& session, std::string_view arguments, int out) {
    std::vector<std::string> operands = Operands(arguments, "d");
    if (operands.empty()) {
        std::string current = session.cwd() + "\n";
        return WriteAll(out, current) ? 0 : 1;
    }
    std::string joined = operands[0];
    for (size_t i = 1; i < operands.size(); ++i) {
        joined += " " + operands[i];
    }
    char resolved[PATH_MAX];
    std::string path = session.Resolve(joined);
    if (!IsDirectory(path) || ::realpath(path.c_str(), resolved) == nullptr) {
        ReportError("The system cannot find the path specified.");
        return 1;
    }
    session.SetCwd(resolved);
    return 0;
}

int Builtin_Mkdir(Session& session, std::string_view arguments, int) {
    std::vector<std::string> operands = Operands(arguments, "");
    int status = operands.empty() ? 1 : 0;
    for (const std::string& operand : operands) {
        std::string path = WithoutTrailingSlashes(session.Resolve(operand));
        if (Exists(path)) {
            ReportError("A subdirectory or file " + path + " already exists.");
            status = 1;
        } else if (!MakeFolders(path)) {
            ReportError("Access is denied.");
            status = 1;
        }
    }
    return status;
}

int Builtin_Rmdir(Session& session, std::string_view arguments, int) {
    bool wholeTree = HasSwitch(arguments, "s");
    std::vector<std::string> operands = Operands(arguments, "sq");
    int status = operands.empty() ? 1 : 0;
    for (const std::string& operand : operands) {
        // An empty name would be the current folder itself.
        if (Unquote(operand).empty() ||
            !RemoveFolder(WithoutTrailingSlashes(session.Resolve(operand)), wholeTree)) {
            ReportError("The system cannot find the file specified.");
            status = 1;
        }
    }
    return status;
}

} // namespace shell
