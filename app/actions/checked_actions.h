// What each action must leave behind, checked the same way for the window's buttons and batch mode. A
// failed action puts back what it touched and says why, from what the system reports.
#pragma once
#include "app/Tool_Code.h"
#include "app/actions/blocking.h"
#include <string>

namespace tool {
struct Outcome {
    Outcome() = default;
    Outcome(std::string why) : failure(std::move(why)) {} // NOLINT: a reason is an outcome
    // Why the action failed, to follow "Replace failed: "; empty when it succeeded.
    std::string failure;
    // What the user must know of a success that is not the usual one (which backup Restore brings back).
    std::string note;
    // After a failure: the container is as it was (false only when putting it back failed too).
    bool containerAsItWas = true;
    bool ok() const { return failure.empty(); }
};

// Import's results in the lib directory (the preview and the decoded track) removed, so that a failed
// import leaves nothing an earlier one made to be played or exported.
void forget_track();
// The decoded track `wav` in the lib directory holds audio; `container` is where it came from.
Outcome check_decoded(const std::string& container, const char* wav);
// Import: the decoded track and the preview are there; otherwise both are removed.
Outcome check_import(const std::string& container);
// Export: source.wav exported to `target`, which must decode to the track's length; a failed export
// leaves `target` as it was.
Outcome export_checked(const std::string& target);
// Replace: the container becomes tuner.head + an HCA stream that decodes, after a checked backup of its
// present original (decide_backup); a failed or interrupted replacement leaves the container and its
// backup as they were. The log line is the caller's.
Outcome replace_checked(const std::string& chosen, const std::string& container);
// Restore: the container equals its backup, which is gone; a backup that is not a container whose
// audio decodes is refused, and a failed restore leaves both as they were. The copy and its check
// block through `blocking`.
Outcome restore_checked(const std::string& container, const Blocking& blocking);
} // namespace tool
