#include "app/actions/placed_files.h"
#include "Support/Win32/Support_System.h"
#include "app/actions/bytes_handled.h"
#include "app/actions/container_lock.h"
#include "app/actions/interrupt_signals.h"
#include <cstdio>
#include <memory>
#include <string>

namespace tool {
namespace {
constexpr size_t MaxNameLength = 255;
using FilePointer = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

bool copy_bytes(std::FILE* from, std::FILE* to) {
    thread_local std::string buffer(1 << 20, '\0'); // made once a thread, however many copies

    for (;;) {
        size_t got = std::fread(buffer.data(), 1, buffer.size(), from);
        if (got > 0 && std::fwrite(buffer.data(), 1, got, to) != got) {
            return false;
        }
        CountBytesHandled(got);
        // A whole container takes seconds: a stop is not kept waiting for the rest.
        if (Interrupted()) {
            return false;
        }
        if (got < buffer.size()) {
            return std::ferror(from) == 0;
        }
    }
}
} // namespace

bool place_copy(const std::string& from, const std::string& to) {
    // UTF-8 names open on Windows too: the programs' manifest makes UTF-8 their code page.
    FilePointer source(std::fopen(from.c_str(), "rb"), &std::fclose);
    if (!source) {
        return false;
    }
    System_ReplacingFile target(to);
    if (target.file() == nullptr || !copy_bytes(source.get(), target.file())) {
        return false;
    }
    ContainerLock::HoldNewFile(to, fileno(target.file()));
    return target.Commit();
}

bool name_fits(const std::string& path) {
    return System_Path(path).filename().native().size() <= MaxNameLength;
}
} // namespace tool
