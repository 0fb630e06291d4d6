#include "app/actions/written_record.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "app/actions/action_files.h"
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace tool {
namespace {
constexpr uint64_t FnvOffset = 14695981039346656037ull;
constexpr uint64_t FnvPrime = 1099511628211ull;

uint64_t fnv1a(std::string_view bytes, uint64_t hash = FnvOffset) {
    for (char byte : bytes) {
        hash = (hash ^ static_cast<unsigned char>(byte)) * FnvPrime;
    }
    return hash;
}

// One small file a container, named after the hash of its full path.
std::string record_path(const std::string& container) {
    char name[17];
    std::snprintf(name, sizeof name, "%016" PRIx64, fnv1a(container));
    return FileM_SaveArea() + "written/" + name;
}
} // namespace

std::optional<Fingerprint> fingerprint(const std::string& path) {
    OpenFile file(path);
    if (!file.valid()) {
        return std::nullopt;
    }
    Fingerprint print;
    print.hash = FnvOffset;
    thread_local std::string block(1 << 20, '\0'); // made once a thread
    for (int64_t got; (got = file.ReadAt(block.data(), block.size(), print.size)) != 0;) {
        if (got < 0) {
            return std::nullopt;
        }
        print.hash = fnv1a(std::string_view(block.data(), static_cast<size_t>(got)), print.hash);
        print.size += static_cast<uint64_t>(got);
    }
    return print;
}

bool remember_written(const std::string& container, const Fingerprint& written) {
    std::error_code error;
    std::filesystem::create_directories(System_Path(FileM_SaveArea() + "written"), error);
    System_ReplacingFile record(record_path(container));
    return record.file() != nullptr &&
           std::fprintf(record.file(), "%" PRIu64 " %016" PRIx64 "\n%s\n", written.size, written.hash,
                        container.c_str()) > 0 &&
           record.Commit();
}

std::optional<Fingerprint> last_written(const std::string& container) {
    std::optional<std::string> text = ReadBytes(record_path(container));
    Fingerprint print;
    if (!text || std::sscanf(text->c_str(), "%" SCNu64 " %" SCNx64, &print.size, &print.hash) != 2) {
        return std::nullopt;
    }
    return print;
}

void forget_written(const std::string& container) {
    std::error_code error;
    std::filesystem::remove(System_Path(record_path(container)), error);
}
} // namespace tool
