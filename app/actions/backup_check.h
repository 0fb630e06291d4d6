// A backup is checked, never assumed: Replace keeps an existing ".orig" only when it is a container
// whose audio decodes and it holds the container's present original, and Restore brings back only
// such a container.
#pragma once
#include <string>

namespace tool {
// "" when the file is a container whose stream the probe finds and that decodes; else what is wrong
// with it, to follow its name ("is empty", "is not a file", ...).
std::string container_problem(const std::string& path);

enum class BackupPlan {
    Make,  // no backup yet: the container is the original
    Keep,  // the backup holds the present original: the container is the tool's own output or the same
    Renew, // the container changed since the tool last wrote it: it is a new original
};
struct BackupDecision {
    BackupPlan plan = BackupPlan::Make;
    std::string refusal; // why Replace must not go on ("its backup bgm_01.sab.orig is empty")
};
BackupDecision decide_backup(const std::string& container);

// Where Renew keeps the earlier backup: the container's name, the date and time, ".orig".
std::string dated_backup_path(const std::string& container);
} // namespace tool
