// del: files only, with '*' and '?' in the last part of a name. A name that exists as written
// means that file only: Linux names may hold '*' and '?'.
#include "Shell_Builtins.h"
#include "Shell_FileSystem.h"
#include "Shell_Session.h"
#include "Shell_Words.h"
#include <vector>

namespace shell {
namespace {

std::vector<std::string> MatchingNames(const std::string& folder, std::string_view pattern,
                                       const std::vector<bool>& literal) {
    std::vector<std::string> names = ListFolder(folder);
    std::erase_if(names, [&](const std::string& name) { return !MatchWildcard(pattern, name, &literal); });
    return names;
}

// 0 when every matching file is gone and at least one matched. `fromName` flags the bytes of the
// path that came from a name: those are never wildcards.
int DeleteMatching(const std::string& path, const std::vector<bool>& fromName, bool force) {
    std::string pattern = BaseName(path);
    std::string folder = ParentFolder(path);
    std::vector<bool> literal(fromName.end() - static_cast<std::ptrdiff_t>(pattern.size()), fromName.end());
    bool exists = Inspect(path, false).exists;
    std::vector<std::string> names = HasWildcard(pattern, &literal) && !exists
                                         ? MatchingNames(folder, pattern, literal)
                                         : std::vector{pattern};
    bool deletedAny = false;
    bool failed = false;
    for (const std::string& name : names) {
        Removal removal = RemoveFile(Absolute(folder, name), force);
        if (removal == Removal::Refused) {
            ReportError("Access is denied.");
        }
        deletedAny = deletedAny || removal == Removal::Removed;
        failed = failed || removal == Removal::Refused || removal == Removal::Failed;
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
