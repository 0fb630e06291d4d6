// The command lines of Import, Replace and Restore, joined from their pieces in order.
#pragma once
#include "app/Tool_Code.h"

namespace tool {
// Import: cut the HCA stream out, decode it, keep source.wav, make the two-channel preview.
RValue import_hca_line(const RValue& file, const RValue& name, const RValue& bs, const RValue& offset);
// Import of an Ogg container: the preview, and source.wav from the container's own stream.
RValue import_ogg_line(const RValue& file, const RValue& name, const RValue& bs, const RValue& offset);
// Import: leaves orig.temp in the lib directory when the container's backup exists.
RValue backup_test_line(const RValue& file);
// Replace: the one-time backup, never overwriting an existing one.
RValue backup_line(const RValue& container);
// Replace: decode the working copy, encode it as HCA, write tuner.head + the stream over the container.
RValue rebuild_line(const RValue& working, const RValue& container);
// Replace: one line appended to tuner.log beside the container.
RValue log_line(const RValue& when, const RValue& container, const RValue& chosen);
// Restore: the backup over the container, then deleted only when that copy succeeded (&&).
RValue restore_line(const RValue& container);
} // namespace tool
