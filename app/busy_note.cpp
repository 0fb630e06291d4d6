#include "app/busy_note.h"
#include "Graphics/Graphics_BusyNote.h"
#include "Object/Object_Main.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "app/actions/audio_length.h"
#include "app/actions/bytes_handled.h"
#include "app/actions/container_actions.h"
#include "hca_encoder.h"
#include "hca_error.h"
#include "hca_header.h"
#include <algorithm>
#include <cctype>
#include <filesystem>

namespace tool {
namespace {
double done(const WatchedFile& file) {
    const double now = file.samples > 0 ? double(ogg_last_position(file.path)) : double(FileSize(file.path));
    const double whole = double(file.samples > 0 ? file.samples : file.bytes);
    return whole > 0 ? now / whole : 0.0;
}

// The status line's box and the skin's colours, from the status line itself.
BusyNote note_over_status(std::string text) {
    BusyNote note;
    note.text = std::move(text);
    CObject* status = Object_Get(obj_menu_status);
    if (status != nullptr && !status->instances.empty()) {
        CInstance* bar = status->instances.front();
        Frame frame(bar, bar, "Object_obj_menu_status_Busy_0");
        note.x = static_cast<int>(get(BV::x).AsReal());
        note.y = static_cast<int>(get(BV::y).AsReal());
        note.width = static_cast<int>(get(BV::sprite_width).AsReal());
        note.height = static_cast<int>(get(BV::sprite_height).AsReal());
    }
    note.background = static_cast<uint32_t>(global_var(skin_main_gui_color).AsReal());
    note.colour = static_cast<uint32_t>(global_var(skin_main_fnt_color).AsReal());
    return note;
}
} // namespace

BusyNoteScope::BusyNoteScope(const char* doing, const RValue& name, std::vector<WorkDone> parts) {
    BusyNote note = note_over_status(std::string(doing) + " " + std::string(name.Text()) + "\xE2\x80\xA6");
    if (!parts.empty()) {
        note.percent = [parts = std::move(parts)] {
            double sum = 0;
            for (const WorkDone& part : parts) {
                sum += std::clamp(part(), 0.0, 1.0);
            }
            // 100 only once the work has ended, which is when the note goes.
            return std::min(static_cast<int>(sum * 100 / double(parts.size())), 99);
        };
    }
    BusyNote_Set(std::move(note));
}

BusyNoteScope::BusyNoteScope(const char* doing, const RValue& name, const std::vector<WatchedFile>& files)
    : BusyNoteScope(doing, name, [&] {
          std::vector<WorkDone> parts;
          for (const WatchedFile& file : files) {
              parts.emplace_back([file] { return done(file); });
          }
          return parts;
      }()) {}

BusyNoteScope::~BusyNoteScope() {
    BusyNote_Clear();
}

std::vector<WatchedFile> import_watch(const std::string& container, int64_t offset, bool ogg,
                                      const std::string& name) {
    const std::string lib = FileM_SaveArea() + "lib/";
    if (ogg) {
        return {{lib + "stream.ogg", 0, ogg_last_position(container)}};
    }
    const std::string head = ReadPart(container, static_cast<uint64_t>(std::max<int64_t>(offset, 0)), 4096);
    try {
        const hca::Header header =
            hca::parse_header(std::span(reinterpret_cast<const uint8_t*>(head.data()), head.size()));
        const uint64_t samples = uint64_t{header.frame_count} * 1024;
        return {{lib + name + ".wav", samples * header.channels * 2, 0}, {lib + "stream.ogg", 0, samples}};
    } catch (const hca::FormatError&) {
        return {};
    }
}

namespace {
uint64_t pcm_bytes(const WavInfo& track) {
    return track.frames * static_cast<uint64_t>(track.channels) * 2;
}
} // namespace

std::vector<WatchedFile> export_watch(const std::string& lib, const RValue& target) {
    const WavInfo track = ReadWavInfo(lib + "source.wav");
    std::string extension(filename_ext(filename_name(target)).Text());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    WatchedFile exported{lib + std::string(export_scratch_name(target).Text())};
    if (extension == ".wav") {
        exported.bytes = pcm_bytes(track);
    } else if (extension == ".ogg") {
        exported.samples = track.frames;
    } else if (extension == ".mp3") {
        // The encoder's own rate when none is asked for: 64 kbit/s a channel.
        exported.bytes = static_cast<uint64_t>(track.Seconds() * 8000 * track.channels);
    }
    if (!track.valid || (exported.bytes == 0 && exported.samples == 0)) {
        return {};
    }
    // The export is then decoded again to be checked.
    return {exported, {lib + "check.wav", pcm_bytes(track), 0}};
}

std::vector<WatchedFile> replace_watch(const std::string& lib, const RValue& chosen) {
    const WavInfo track = ReadAudioLength(std::string(chosen.Text()));
    if (!track.valid) {
        return {};
    }
    const std::string working = lib + std::string(rebuild_working_name(chosen).Text());
    const uint64_t hcaFrames = (track.frames + hca::kEncoderDelay + 1023) / 1024;
    hca::EncoderOptions options; // the line asks for --hcaquality high
    options.quality = hca::Quality::High;
    const uint16_t frameSize = hca::frame_size_for(options, static_cast<unsigned>(track.channels),
                                                   static_cast<unsigned>(track.rate));
    return {{working + ".wav", pcm_bytes(track), 0}, {working + ".hca", hcaFrames * frameSize, 0}};
}

std::vector<WorkDone> restore_watch(const std::string& container) {
    // Each byte of the backup is handled twice: copied, then compared.
    const double whole = 2.0 * double(FileSize(container + ".orig"));
    return {
        [whole, start = BytesHandled()] { return whole > 0 ? double(BytesHandled() - start) / whole : 0.0; }};
}
} // namespace tool
