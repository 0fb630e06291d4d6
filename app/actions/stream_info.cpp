#include "app/actions/stream_info.h"
#include "hca_decoder.h"
#include "hca_error.h"
#include "hca_header.h"
#include "hca_stream_decoding.h"
#include <cstdio>
#include <vorbis/vorbisfile.h>

namespace tool {
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
    const OpenFile& file;
    uint64_t offset;
    int64_t length;
    int64_t position = 0;
};

size_t ReadIn(void* into, size_t size, size_t count, void* source) {
    Window* window = static_cast<Window*>(source);
    const int64_t got = window->file.ReadAt(static_cast<char*>(into), size * count,
                                            window->offset + uint64_t(window->position));
    if (got <= 0 || size == 0) {
        return 0;
    }
    window->position += got;
    return size_t(got) / size;
}

int SeekIn(void* source, ogg_int64_t to, int whence) {
    Window* window = static_cast<Window*>(source);
    const int64_t from = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? window->position : window->length;
    if (from + to < 0) {
        return -1;
    }
    window->position = from + to;
    return 0;
}

long TellIn(void* source) {
    return long(static_cast<Window*>(source)->position);
}

WavInfo OggInfo(const std::string& container, int64_t offset) {
    OpenFile file(container);
    const int64_t size = file.Size();
    if (!file.valid() || offset < 0 || size < offset) {
        return {};
    }
    Window window{file, uint64_t(offset), size - offset};
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
} // namespace tool
