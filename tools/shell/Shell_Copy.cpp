// copy [/y] [/b] source[+source...] destination. The destination is written through a
// temporary file beside it and renamed over it, so it is replaced whole or not at all. A linked
// destination is written where its link points; one without write permission is refused.
#include "Shell_Builtins.h"
#include "Shell_FileSystem.h"
#include "Shell_Session.h"
#include "Shell_Words.h"
#include <vector>

namespace shell {
namespace {

struct Source {
    UniqueFd fd;
    FileInfo info;
};

// "a+b", "a +b", "a+ b" and "a + b" all name the same two sources.
std::vector<std::string> JoinPlusWords(const std::vector<std::string>& words) {
    std::vector<std::string> items;
    for (const std::string& word : words) {
        if (!items.empty() && (items.back().back() == '+' || word.front() == '+')) {
            items.back() += word;
        } else {
            items.push_back(word);
        }
    }
    return items;
}

bool OpenSources(const Session& session, const std::string& sourceList, std::vector<Source>& sources,
                 std::string& firstPath) {
    for (const std::string& part : SplitPlus(sourceList)) {
        std::string path = session.Resolve(part);
        if (Unquote(part).empty()) {
            return false;
        }
        Source source{OpenForReading(path), {}};
        source.info = source.fd.valid() ? InspectOpen(source.fd.get()) : FileInfo{};
        if (!source.info.regular) {
            return false;
        }
        if (firstPath.empty()) {
            firstPath = path;
        }
        sources.push_back(std::move(source));
    }
    return !sources.empty();
}

bool IsOneOf(const FileInfo& target, const std::vector<Source>& sources) {
    for (const Source& source : sources) {
        if (source.info.id == target.id) {
            return true;
        }
    }
    return false;
}

int Fail(const char* message) {
    ReportError(message);
    return 1;
}

} // namespace

int Builtin_Copy(Session& session, std::string_view arguments, int out) {
    std::vector<std::string> items = JoinPlusWords(Operands(arguments, "yba"));
    if (items.empty() || items.size() > 2) {
        return Fail("The syntax of the command is incorrect.");
    }
    std::vector<Source> sources;
    std::string firstPath;
    if (!OpenSources(session, items[0], sources, firstPath)) {
        return Fail("The system cannot find the file specified.");
    }
    std::string target = session.Resolve(items.size() == 2 ? items[1] : BaseName(firstPath));
    if (IsDirectory(target)) {
        target = Absolute(target, BaseName(firstPath));
    }
    target = FollowLinks(target);
    FileInfo existing = Inspect(target);
    if (existing.exists && IsOneOf(existing, sources)) {
        return Fail("The file cannot be copied onto itself.");
    }
    // Checked by its bits, not by trying: a read-only file stays so even for the administrator.
    if (existing.exists && !existing.writable) {
        return Fail("Access is denied.");
    }
    TempFile temp(target);
    if (!temp.valid()) {
        return Fail("Access is denied.");
    }
    for (const Source& source : sources) {
        if (!CopyContent(source.fd.get(), temp.fd())) {
            return Fail("The device is not ready.");
        }
    }
    // A replaced file keeps its own permissions; a new one takes those of its (first) source.
    if (!temp.Commit(existing.exists ? existing.permissions : sources.front().info.permissions)) {
        return Fail("Access is denied.");
    }
    return WriteAll(out, "        1 file(s) copied.\n") ? 0 : 1;
}

} // namespace shell
