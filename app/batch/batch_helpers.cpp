#include "app/batch/batch_helpers.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "app/actions/action_files.h"
#include "app/actions/command_lines.h"
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <zlib.h>

namespace batch {
namespace {
namespace fs = std::filesystem;
constexpr const char* HelperNames[] = {"xxd.exe", "dd.exe", "vgaudiocli.exe", "ffmpeg.exe", "tuner.head"};
constexpr const char* ManifestName = "manifest";

// Size and CRC-32 of a file's content, as text; nothing when it cannot be read.
std::optional<std::string> Fingerprint(const std::string& path) {
    tool::MappedFile file(path);
    if (!file.Bytes()) {
        return std::nullopt;
    }
    uLong crc = crc32(0L, Z_NULL, 0);
    for (std::string_view rest = *file.Bytes(); !rest.empty();) {
        const size_t piece = std::min<size_t>(rest.size(), 1u << 30);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(rest.data()), static_cast<uInt>(piece));
        rest.remove_prefix(piece);
    }
    char text[48];
    std::snprintf(text, sizeof text, "%zx-%08lx", file.Bytes()->size(), crc);
    return text;
}

bool CacheIntact(const std::string& cache) {
    std::ifstream manifest(System_Path(cache + ManifestName));
    std::string name, noted;
    size_t checked = 0;
    while (manifest >> name >> noted) {
        if (Fingerprint(cache + name) != noted) {
            return false;
        }
        ++checked;
    }
    return checked == std::size(HelperNames);
}

bool Place(const std::string& from, const std::string& to) {
    std::error_code error;
    fs::remove(System_Path(to), error);
    fs::create_hard_link(System_Path(from), System_Path(to), error);
    return !error || fs::copy_file(System_Path(from), System_Path(to), error);
}

// The running lib directory's freshly unpacked helpers, noted and moved into place as one folder, so a
// cache is either whole or absent; a batch that fills it at the same moment simply keeps its own copy.
void FillCache(const std::string& cache, const std::string& lib) {
    std::error_code error;
    fs::create_directories(System_Path(cache).parent_path().parent_path(), error);
    const std::string made = tool::MakeFreshFolder(cache.substr(0, cache.size() - 1) + ".new-");
    if (made.empty()) {
        return;
    }
    const std::string filling = made + "/";
    std::ostringstream manifest;
    bool whole = true;
    for (const char* helper : HelperNames) {
        std::optional<std::string> print = Fingerprint(lib + helper);
        whole = whole && print && Place(lib + helper, filling + helper);
        manifest << helper << ' ' << print.value_or("-") << '\n';
    }
    std::ofstream(System_Path(filling + ManifestName)) << manifest.str();
    if (whole) {
        fs::rename(System_Path(made), System_Path(cache.substr(0, cache.size() - 1)), error);
    }
    if (!whole || error) {
        fs::remove_all(System_Path(made), error);
    }
}

bool Unpack(const std::string& lib) {
    tool::call_script(tool::cmd, "", tool::make_lib_line());
    tool::call_script(tool::cmd, "", tool::unpack_now_line(tool::get(tool::BV::program_directory)));
    for (const char* helper : HelperNames) {
        if (!fs::exists(System_Path(lib + helper))) {
            std::fprintf(stderr, "%slib.win: %s could not be unpacked\n", FileM_ProgramFolder().c_str(),
                         helper);
            return false;
        }
    }
    return true;
}
} // namespace

bool LinkHelpers(const std::string& cache, const std::string& lib) {
    std::error_code error;
    fs::create_directories(System_Path(lib), error);
    for (const char* helper : HelperNames) {
        if (!Place(cache + helper, lib + helper)) {
            return false;
        }
    }
    return true;
}

std::string PrepareHelpers(const std::string& saveArea) {
    const std::string lib = FileM_SaveArea() + "lib/";
    std::optional<std::string> version = Fingerprint(FileM_ProgramFolder() + "lib.win");
    const std::string cache = saveArea + "helpers/" + version.value_or("unreadable") + "/";
    if (version && CacheIntact(cache) && LinkHelpers(cache, lib)) {
        return cache;
    }
    std::error_code error;
    fs::remove_all(System_Path(cache), error);
    if (!Unpack(lib)) {
        return "";
    }
    if (version) {
        FillCache(cache, lib);
    }
    // Without a cache (a read-only save area) the running lib directory is the source for the jobs.
    return CacheIntact(cache) ? cache : lib;
}
} // namespace batch
