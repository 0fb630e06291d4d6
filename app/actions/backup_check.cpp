#include "app/actions/backup_check.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "app/actions/action_files.h"
#include "app/actions/container_probe.h"
#include "app/actions/hca_check.h"
#include "app/actions/stream_info.h"
#include "app/actions/written_record.h"
#include <ctime>
#include <filesystem>

namespace tool {
namespace {
namespace fs = std::filesystem;

// The probe finds the line holding the signature; the stream starts at the signature itself.
int64_t stream_offset(const std::string& path, const ProbeScan& scan) {
    const std::string_view signature =
        scan.format == 1 ? std::string_view("OggS\0\2", 6) : std::string_view("HCA\0\2\0", 6);
    const int64_t line = line_offset(scan.line);
    OpenFile file(path);
    std::string bytes(32, '\0');
    int64_t got = file.ReadAt(bytes.data(), bytes.size(), static_cast<uint64_t>(line));
    size_t at = bytes.substr(0, got > 0 ? static_cast<size_t>(got) : 0).find(signature);
    return at == std::string::npos ? -1 : line + static_cast<int64_t>(at);
}

bool stream_decodes(const std::string& path, const ProbeScan& scan) {
    const int64_t offset = stream_offset(path, scan);
    if (offset < 0) {
        return false;
    }
    if (scan.format == 1) {
        WavInfo info = StreamInfo(path, true, offset);
        return info.valid && info.frames > 0;
    }
    return HcaStreamDecodes(OpenFile(path), static_cast<uint64_t>(offset));
}

std::string backup_name(const std::string& container) {
    return System_PathText(System_Path(container + ".orig").filename());
}
} // namespace

std::string container_problem(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(System_Path(path), error);
    if (!fs::exists(status)) {
        return "is gone";
    }
    if (!fs::is_regular_file(status)) {
        return "is not a file";
    }
    if (fs::file_size(System_Path(path), error) == 0) {
        return "is empty";
    }
    ProbeScan scan = probe_container(RValue(path));
    if (!scan.found) {
        return "is not a container (no HCA or Ogg stream in its first 2048 bytes)";
    }
    return stream_decodes(path, scan) ? "" : "is damaged (its stream does not decode)";
}

BackupDecision decide_backup(const std::string& container) {
    const std::string backup = container + ".orig";
    std::error_code error;
    if (!fs::exists(fs::symlink_status(System_Path(backup), error))) {
        return {BackupPlan::Make, ""};
    }
    if (std::string problem = container_problem(backup); !problem.empty()) {
        return {BackupPlan::Make, "its backup " + backup_name(container) + " " + problem +
                                      "; move it away to replace the container"};
    }
    OpenFile present(container);
    if (SameContent(present, OpenFile(backup))) {
        return {BackupPlan::Keep, ""};
    }
    std::optional<Fingerprint> written = last_written(container);
    if (written) {
        return {*written == fingerprint(container) ? BackupPlan::Keep : BackupPlan::Renew, ""};
    }
    // No record (another data folder, or a tool from before records): a container that begins with the
    // tool's own header is the tool's output.
    std::optional<std::string> head = ReadBytes(FileM_SaveArea() + "lib/tuner.head");
    bool ours = head && !head->empty() && StartsWith(container, *head);
    return {ours ? BackupPlan::Keep : BackupPlan::Renew, ""};
}

std::string dated_backup_path(const std::string& container) {
    std::time_t now = std::time(nullptr);
    char stamp[32] = "";
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
    return container + "." + stamp + ".orig";
}
} // namespace tool
