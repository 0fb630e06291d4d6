#include "app/batch/batch_arguments.h"
#include "utf16.h"
#include <algorithm>
#include <windows.h>

namespace batch {
namespace {
class FolderListing {
  public:
    explicit FolderListing(const std::wstring& pattern)
        : handle_(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry_, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH)) {}
    ~FolderListing() {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(handle_);
    }
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;
    // The next entry, or nullptr at the end.
    const WIN32_FIND_DATAW* Next() {
        if (handle_ == INVALID_HANDLE_VALUE)
            return nullptr;
        if (!first_ && !FindNextFileW(handle_, &entry_))
            return nullptr;
        first_ = false;
        return &entry_;
    }

  private:
    WIN32_FIND_DATAW entry_{};
    HANDLE handle_;
    bool first_ = true;
};

bool SameLetter(wchar_t a, wchar_t b) {
    return CompareStringOrdinal(&a, 1, &b, 1, TRUE) == CSTR_EQUAL;
}

// Matched here rather than by FindFirstFile, which also matches the short 8.3 names: "*.sab" would
// take "track.sabx" through its short name TRACK~1.SAB.
bool Matches(std::wstring_view name, std::wstring_view pattern) {
    size_t n = 0, p = 0, starName = std::wstring_view::npos, starPattern = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || SameLetter(pattern[p], name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starPattern = p++;
            starName = n;
        } else if (starName != std::wstring_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*')
        ++p;
    return p == pattern.size();
}

bool CaseInsensitiveLess(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_LESS_THAN;
}

void Expand(const std::string& argument, std::vector<std::string>& out) {
    const size_t cut = argument.find_last_of("\\/:") + 1; // 0 when the name has no folder
    const std::string folder = argument.substr(0, cut);
    const std::wstring pattern = win::widen(argument.substr(cut));
    if (folder.find_first_of("*?") != std::string::npos || pattern.empty()) {
        out.push_back(argument);
        return;
    }
    std::vector<std::wstring> names;
    FolderListing listing(win::wide_path(folder + "*"));
    while (const WIN32_FIND_DATAW* entry = listing.Next()) {
        if (!(entry->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && Matches(entry->cFileName, pattern))
            names.emplace_back(entry->cFileName);
    }
    if (names.empty()) {
        out.push_back(argument);
        return;
    }
    std::sort(names.begin(), names.end(), CaseInsensitiveLess);
    for (const std::wstring& name : names)
        out.push_back(folder + win::narrow(name));
}
} // namespace

std::vector<std::string> ExpandWildcards(const std::vector<std::string>& arguments) {
    std::vector<std::string> expanded;
    for (const std::string& argument : arguments) {
        if (argument.starts_with("--") || argument.find_first_of("*?") == std::string::npos)
            expanded.push_back(argument);
        else
            Expand(argument, expanded);
    }
    return expanded;
}
} // namespace batch
