#include "app/batch/batch_stream_info.h"
#include "hca_decoder.h"
#include "hca_error.h"
#include "hca_header.h"
#include "hca_stream_decoding.h"
#include <cstdio>
#include <memory>
#include <vorbis/vorbisfile.h>

namespace batch {
namespace {
WavInfo HcaInfo(const std::string& container, int64_t offset) {
    MappedFile file(container);
    if (!file.Bytes() || offset < 0 || size_t(offset) >= file.Bytes()->size()) {
        return {};
    }
    const std::string_view stream = file.Bytes()->substr(size_t(offset));
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(stream.data()), stream.size());
    try {
        const hca::Header header = hca::parse_header(bytes);
        hca::check_stream_size(header, bytes.size());
        // What the decoder writes: every frame whole.
        return WavInfo{true, int(header.sample_rate), int(header.channels),
                       uint64_t{header.frame_count} * hca::kFrameSamples};
    } catch (const hca::FormatError&) {
        return {};
    }
}

// The container seen from the stream's first byte on, as the Vorbis reader expects a file to be.
struct Window {
    std::FILE* file;
    int64_t offset;
};

size_t ReadIn(void* into, size_t size, size_t count, void* source) {
    return std::fread(into, size, count, static_cast<Window*>(source)->file);
}

int SeekIn(void* source, ogg_int64_t to, int whence) {
    Window* window = static_cast<Window*>(source);
    return fseeko(window->file, whence == SEEK_SET ? to + window->offset : to, whence);
}

long TellIn(void* source) {
    Window* window = static_cast<Window*>(source);
    return long(ftello(window->file) - window->offset);
}

WavInfo OggInfo(const std::string& container, int64_t offset) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(container.c_str(), "rb"), std::fclose);
    if (!file || fseeko(file.get(), offset, SEEK_SET) != 0) {
        return {};
    }
    Window window{file.get(), offset};
    OggVorbis_File vorbis;
    if (ov_open_callbacks(&window, &vorbis, nullptr, 0, ov_callbacks{ReadIn, SeekIn, nullptr, TellIn}) != 0) {
        return {};
    }
    const vorbis_info* info = ov_info(&vorbis, -1);
    const ogg_int64_t frames = ov_pcm_total(&vorbis, -1);
    WavInfo result;
    if (info != nullptr && frames > 0) {
        result = WavInfo{true, int(info->rate), info->channels, uint64_t(frames)};
    }
    ov_clear(&vorbis);
    return result;
}
} // namespace

WavInfo StreamInfo(const std::string& container, bool ogg, int64_t offset) {
    return ogg ? OggInfo(container, offset) : HcaInfo(container, offset);
}
} // namespace batch
