// xxd.exe [-u] [-l <count>] [<file>]: dumps a file (or stdin) to stdout.
#include "xxd_dump.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

namespace {

struct Options {
    bool upperCase = false;
    std::optional<uint64_t> limit;
    const char* file = nullptr;
};

std::optional<uint64_t> ParseCount(const char* text) {
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(text, &end, 0);
    if (errno != 0 || end == text || *end != '\0' || value < 0) {
        return std::nullopt;
    }
    return static_cast<uint64_t>(value);
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "-u") {
            options.upperCase = true;
        } else if (argument.rfind("-l", 0) == 0) {
            const char* count = argument.size() > 2 ? argv[i] + 2 : (i + 1 < argc ? argv[++i] : nullptr);
            options.limit = count != nullptr ? ParseCount(count) : std::nullopt;
            if (!options.limit) {
                return false;
            }
        } else if (options.file == nullptr && (argument[0] != '-' || argument == "-")) {
            options.file = argv[i];
        } else {
            return false;
        }
    }
    return true;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs("usage: xxd.exe [-u] [-l len] [infile]\n", stderr);
        return 1;
    }
    std::unique_ptr<std::FILE, FileCloser> opened;
    std::FILE* input = stdin;
    if (options.file != nullptr && std::strcmp(options.file, "-") != 0) {
        opened.reset(std::fopen(options.file, "rb"));
        if (!opened) {
            std::fprintf(stderr, "xxd.exe: %s: %s\n", options.file, std::strerror(errno));
            return 2;
        }
        input = opened.get();
    }
    uint64_t remaining = options.limit.value_or(UINT64_MAX);
    uint64_t offset = 0;
    char buffer[DumpBytesPerLine];
    while (remaining > 0) {
        size_t wanted = remaining < DumpBytesPerLine ? static_cast<size_t>(remaining) : DumpBytesPerLine;
        size_t got = std::fread(buffer, 1, wanted, input);
        if (got == 0) {
            break;
        }
        std::fputs(DumpLine(offset, std::string_view(buffer, got), options.upperCase).c_str(), stdout);
        offset += got;
        remaining -= got;
    }
    return std::ferror(input) || std::fflush(stdout) != 0 ? 2 : 0;
}
