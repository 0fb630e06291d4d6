// del: files only, with '*' and '?' in the last part of a name. A name that exists as written
// means that file only: Linux names may hold '*' and '?'.
#include "Shell_Builtins.h"
#include "Shell_Files.h"
#include "Shell_Session.h"
#include "Shell_Words.h"
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace shell {
namespace {

enum class Outcome { Deleted, Skipped, Failed };

// Folders are never deleted; read-only files only with /f.
Outcome DeleteEntry(int folder, const std::string& name, bool force) {
    struct stat info;
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(info.st_mode)) {
        return Outcome::Skipped;
    }
    if (!force && !S_ISLNK(info.st_mode) && (info.st_mode & S_IWUSR) == 0) {
        ReportError("Access is denied.");
        return Outcome::Failed;
    }
    return ::unlinkat(folder, name.c_str(), 0) == 0 ? Outcome::Deleted : Outcome::Failed;
}

std::vector<std::string> MatchingNames(int folder, std::string_view pattern,
                                       const std::vector<bool>& literal) {
    std::vector<std::string> names = ListFolder(folder);
    std::erase_if(names, [&](const std::string& name) { return !MatchWildcard(pattern, name, &literal); });
    return names;
}

// 0 when every matching file is gone and at least one matched. `fromName` flags the bytes of the
// path that came from a name: those are never wildcards.
int DeleteMatching(const std::string& path, const std::vector<bool>& fromName, bool force) {
    std::string pattern = BaseName(path);
    std::vector<bool> literal(fromName.end() - static_cast<std::ptrdiff_t>(pattern.size()), fromName.end());
    UniqueFd folder(::open(ParentFolder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::vector<std::string> names;
    if (folder.valid()) {
        struct stat info;
        bool exists = ::fstatat(folder.get(), pattern.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
        names = HasWildcard(pattern, &literal) && !exists ? MatchingNames(folder.get(), pattern, literal)
                                                          : std::vector{pattern};
    }
    bool deletedAny = false;
    bool failed = false;
    for (const std::string& name : names) {
        Outcome outcome = DeleteEntry(folder.get(), name, force);
        deletedAny = deletedAny || outcome == Outcome::Deleted;
        failed = failed || outcome == Outcome::Failed;
    }
    if (!deletedAny && !failed) {
        ReportError("Could Not Find " + path);
        return 1;
    }
    return failed ? 1 : 0;
}

} // namespace

int Builtin_Del(Session& session, std::string_view arguments, int) {
    bool force = HasSwitch(arguments, "f");
    std::vector<std::string> operands = Operands(arguments, "fq");
    int status = operands.empty() ? 1 : 0;
    for (const std::string& operand : operands) {
        std::vector<bool> fromName;
        std::string path = session.Resolve(operand, &fromName);
        if (DeleteMatching(path, fromName, force) != 0) {
            status = 1;
        }
    }
    return status;
}

} // namespace shell
