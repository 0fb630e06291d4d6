// What Export and Replace do once they have their files: the window's buttons and batch mode share
// these steps, so both write the same bytes.
#pragma once
#include "app/Tool_Code.h"

namespace tool {
// Export: source.wav converted into lib\export<extension>, then copied over `target`.
void export_source(const RValue& target);
// Replace: the chosen file copied into the lib directory and converted there into the new container,
// lib\rebuilt.container; the backup and putting it in place are the caller's.
void rebuild_in_lib(const RValue& chosen);
// The files in the lib directory these steps write to: lib\export<extension>, and the chosen file's
// copy lib\replace<extension>, decoded to its name + ".wav" and encoded to its name + ".hca".
RValue export_scratch_name(const RValue& target);
RValue rebuild_working_name(const RValue& chosen);
// Replace: the line appended to tuner.log beside the container.
void log_replacement(const RValue& container, const RValue& chosen);
} // namespace tool
