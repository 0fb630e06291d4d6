#include "app/busy_note.h"
#include "Graphics/Graphics_BusyNote.h"
#include "Object/Object_Main.h"
#include "Support/Win32/Support_FileM.h"
#include "hca_error.h"
#include "hca_header.h"
#include <algorithm>
#include <filesystem>
#include <fstream>

namespace tool {
namespace {
std::string read_at(const std::string& path, uint64_t at, size_t length) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(at));
    std::string bytes(length, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(length));
    bytes.resize(in ? length : static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

uint64_t size_of(const std::string& path) {
    std::error_code error;
    uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<uint64_t>(size);
}

double done(const WatchedFile& file) {
    const double now = file.samples > 0 ? double(ogg_last_position(file.path)) : double(size_of(file.path));
    const double whole = double(file.samples > 0 ? file.samples : file.bytes);
    return whole > 0 ? std::min(now / whole, 1.0) : 0.0;
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

BusyNoteScope::BusyNoteScope(const char* doing, const RValue& name, std::vector<WatchedFile> files) {
    BusyNote note = note_over_status(std::string(doing) + " " + std::string(name.Text()) + "\xE2\x80\xA6");
    if (!files.empty()) {
        note.percent = [files = std::move(files)] {
            double sum = 0;
            for (const WatchedFile& file : files) {
                sum += done(file);
            }
            // 100 only once the lines have ended, which is when the note goes.
            return std::min(static_cast<int>(sum * 100 / double(files.size())), 99);
        };
    }
    BusyNote_Set(std::move(note));
}

BusyNoteScope::~BusyNoteScope() {
    BusyNote_Clear();
}

// A page: "OggS", version 0, header type, then the 64-bit position; -1 on a page where no packet ends.
uint64_t ogg_last_position(const std::string& path) {
    const uint64_t size = size_of(path);
    const uint64_t from = size > 65536 ? size - 65536 : 0;
    const std::string tail = read_at(path, from, static_cast<size_t>(size - from));
    for (size_t at = tail.rfind("OggS"); at != std::string::npos && at + 14 <= tail.size();
         at = at == 0 ? std::string::npos : tail.rfind("OggS", at - 1)) {
        uint64_t position = 0;
        for (int i = 7; i >= 0; --i) {
            position = (position << 8) | static_cast<unsigned char>(tail[at + 6 + static_cast<size_t>(i)]);
        }
        if (tail[at + 4] == 0 && position != ~uint64_t{0}) {
            return position;
        }
    }
    return 0;
}

std::vector<WatchedFile> import_watch(const std::string& container, int64_t offset, bool ogg,
                                      const std::string& name) {
    const std::string lib = FileM_SaveArea() + "lib/";
    if (ogg) {
        return {{lib + "stream.ogg", 0, ogg_last_position(container)}};
    }
    const std::string head = read_at(container, static_cast<uint64_t>(std::max<int64_t>(offset, 0)), 4096);
    try {
        const hca::Header header =
            hca::parse_header(std::span(reinterpret_cast<const uint8_t*>(head.data()), head.size()));
        const uint64_t samples = uint64_t{header.frame_count} * 1024;
        return {{lib + name + ".wav", samples * header.channels * 2, 0}, {lib + "stream.ogg", 0, samples}};
    } catch (const hca::FormatError&) {
        return {};
    }
}
} // namespace tool
