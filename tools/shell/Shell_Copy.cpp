// copy [/y] [/b] source[+source...] destination. The destination is written through a
// temporary file beside it and renamed over it, so it is replaced whole or not at all. A linked
// destination is written where its link points; one without write permission is refused.
#include "Shell_Builtins.h"
#include "Shell_Files.h"
#include "Shell_Session.h"
#include "Shell_Words.h"
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace shell {
namespace {

struct Source {
    UniqueFd fd;
    struct stat info;
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
        Source source{UniqueFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)), {}};
        if (!source.fd.valid() || ::fstat(source.fd.get(), &source.info) != 0 ||
            !S_ISREG(source.info.st_mode)) {
            return false;
        }
        if (firstPath.empty()) {
            firstPath = path;
        }
        sources.push_back(std::move(source));
    }
    return !sources.empty();
}

bool IsOneOf(const struct stat& target, const std::vector<Source>& sources) {
    for (const Source& source : sources) {
        if (source.info.st_dev == target.st_dev && source.info.st_ino == target.st_ino) {
            return true;
        }
    }
    return false;
}

// A replaced file keeps its own permissions; a new one takes those of its (first) source.
mode_t ModeFor(const struct stat* existing, const Source& first) {
    return (existing != nullptr ? existing->st_mode : first.info.st_mode) & 07777;
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
        // Appended piece by piece: GCC 12 at -O3 takes `"/" + std::string&&` for an overlapping copy.
        target += '/';
        target += BaseName(firstPath);
    }
    target = FollowLinks(target);
    struct stat existing;
    bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && IsOneOf(existing, sources)) {
        return Fail("The file cannot be copied onto itself.");
    }
    // Checked by its bits, not by trying: a read-only file stays so even for the administrator.
    if (exists && (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
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
    if (!temp.Commit(ModeFor(exists ? &existing : nullptr, sources.front()))) {
        return Fail("Access is denied.");
    }
    return WriteAll(out, "        1 file(s) copied.\n") ? 0 : 1;
}

} // namespace shell
