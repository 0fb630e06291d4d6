// Every command line the tool runs, joined from its pieces in order. Nothing else in the tool
// spells a command line; tests/shell runs each one on files with ordinary and hostile names.
#pragma once
#include "app/Tool_Code.h"

namespace tool {
// Start-up: the lib directory, unless it exists.
RValue make_lib_line();
// Start-up, in the background: the helper programs out of lib.win; temp.dat is written last, on success.
RValue unpack_line(const RValue& program_directory);
// Start-up: the marker, once the splash has seen it.
RValue delete_marker_line(const RValue& program_directory);
// The preview file (start-up, and Import/Replace/Restore when a preview stream existed).
RValue remove_preview_line();
// The probes: a hex dump of the container's first 2048 bytes into lib\temp.head.
RValue dump_line(const RValue& path);
// Import: cut the HCA stream out, decode it, keep source.wav, make the two-channel preview.
RValue import_hca_line(const RValue& file, const RValue& name, const RValue& bs, const RValue& offset);
// Import of an Ogg container: the preview, and source.wav from the container's own stream.
RValue import_ogg_line(const RValue& file, const RValue& name, const RValue& bs, const RValue& offset);
// Import: leaves orig.temp in the lib directory when the container's backup exists.
RValue backup_test_line(const RValue& file);
// Export: source.wav converted into lib\export + extension.
RValue export_line(const RValue& extension);
// Replace: decode the working copy, encode it as HCA, write tuner.head + the stream into the lib
// directory as `rebuilt_container`; the tool itself puts it in the container's place.
constexpr const char* rebuilt_container = "rebuilt.container";
RValue rebuild_line(const RValue& working);
// Replace: one line appended to tuner.log beside the container.
RValue log_line(const RValue& when, const RValue& container, const RValue& chosen);
// The end: the whole lib directory goes.
RValue cleanup_line();

// Batch mode: the helper programs out of lib.win at once, with no background start and no marker file.
RValue unpack_now_line(const RValue& program_directory);
// Batch mode: the stream cut out as Import cuts it and decoded to `wav` in the lib directory.
RValue decode_stream_line(const RValue& file, const RValue& name, const RValue& bs, const RValue& offset,
                          const RValue& fmt, const RValue& wav);
// Batch mode: any audio file ffmpeg reads, decoded to `wav` in the lib directory.
RValue decode_audio_line(const RValue& file, const RValue& wav);
} // namespace tool
