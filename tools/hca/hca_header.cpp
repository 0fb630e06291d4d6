#include "hca_header.h"

#include "hca_crc.h"
#include "hca_error.h"

#include <algorithm>
#include <bit>

namespace hca {
namespace {

constexpr uint32_t tag(const char (&name)[5]) {
    return (uint32_t(uint8_t(name[0])) << 24) | (uint32_t(uint8_t(name[1])) << 16) |
           (uint32_t(uint8_t(name[2])) << 8) | uint32_t(uint8_t(name[3]));
}

// Big-endian cursor over the header bytes; running out of bytes is a truncated header.
class ChunkReader {
  public:
    explicit ChunkReader(std::span<const uint8_t> data) : data_(data) {}

    uint32_t u(int bytes) {
        if (position_ + bytes > data_.size())
            throw FormatError("truncated HCA header");
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value = (value << 8) | data_[position_++];
        return value;
    }
    // The next chunk tag with the encryption bits cleared, without consuming it.
    uint32_t peek_tag() const {
        if (position_ + 4 > data_.size())
            return 0;
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = (value << 8) | data_[position_ + i];
        return value & 0x7F7F7F7Fu;
    }
    bool accept(uint32_t expected) {
        if (peek_tag() != expected)
            return false;
        position_ += 4;
        return true;
    }
    void skip(size_t bytes) {
        if (position_ + bytes > data_.size())
            throw FormatError("truncated HCA header");
        position_ += bytes;
    }
    size_t position() const { return position_; }

  private:
    std::span<const uint8_t> data_;
    size_t position_ = 0;
};

void read_fmt(ChunkReader& in, Header& h) {
    if (!in.accept(tag("fmt\0")))
        throw FormatError("HCA header has no fmt chunk");
    h.channels = in.u(1);
    h.sample_rate = in.u(3);
    h.frame_count = in.u(4);
    h.encoder_delay = static_cast<uint16_t>(in.u(2));
    h.encoder_padding = static_cast<uint16_t>(in.u(2));
}

void read_comp_or_dec(ChunkReader& in, Header& h) {
    if (in.accept(tag("comp"))) {
        h.frame_size = static_cast<uint16_t>(in.u(2));
        h.min_resolution = in.u(1);
        h.max_resolution = in.u(1);
        h.track_count = in.u(1);
        h.channel_config = in.u(1);
        h.total_band_count = in.u(1);
        h.base_band_count = in.u(1);
        h.stereo_band_count = in.u(1);
        h.bands_per_hfr_group = in.u(1);
        h.ms_stereo = in.u(1);
        in.u(1);
        return;
    }
    if (!in.accept(tag("dec\0")))
        throw FormatError("HCA header has neither a comp nor a dec chunk");
    h.frame_size = static_cast<uint16_t>(in.u(2));
    h.min_resolution = in.u(1);
    h.max_resolution = in.u(1);
    h.total_band_count = in.u(1) + 1;
    h.base_band_count = in.u(1) + 1;
    unsigned tracks = in.u(1);
    h.track_count = tracks >> 4;
    h.channel_config = tracks & 0xF;
    unsigned stereo_type = in.u(1);
    if (stereo_type == 0)
        h.base_band_count = h.total_band_count;
    h.stereo_band_count = h.total_band_count - h.base_band_count;
    h.bands_per_hfr_group = 0;
}

void read_optional_chunks(ChunkReader& in, Header& h, size_t body_end) {
    h.ath_type = default_ath_type(h.version);
    if (in.accept(tag("vbr\0")))
        in.skip(4);
    if (in.accept(tag("ath\0")))
        h.ath_type = in.u(2);
    if (in.accept(tag("loop"))) {
        LoopInfo loop;
        loop.start_frame = in.u(4);
        loop.end_frame = in.u(4);
        loop.start_delay = static_cast<uint16_t>(in.u(2));
        loop.end_padding = static_cast<uint16_t>(in.u(2));
        h.loop = loop;
    }
    if (in.accept(tag("ciph")))
        h.cipher_type = in.u(2);
    if (in.accept(tag("rva\0")))
        h.volume = std::bit_cast<float>(in.u(4));
    if (in.accept(tag("comm"))) {
        unsigned length = in.u(1);
        for (unsigned i = 0; i < length && in.position() < body_end; ++i)
            h.comment.push_back(static_cast<char>(in.u(1)));
    }
    // Whatever follows (pad chunk or filler) only pads the header to its size.
}

void fail(const char* reason) {
    throw FormatError(std::string("invalid HCA header: ") + reason);
}

void validate(const Header& h) {
    if (h.version != 0x0101 && h.version != 0x0102 && h.version != 0x0103 && h.version != 0x0200 &&
        h.version != 0x0300)
        fail("unsupported version");
    if (h.channels < 1 || h.channels > 16)
        fail("channel count out of range");
    if (h.sample_rate < 1 || h.frame_count == 0)
        fail("empty stream");
    if (h.frame_size < 8)
        fail("frame size out of range");
    if (h.version < 0x0300 && (h.min_resolution != 1 || h.max_resolution != 15))
        fail("unexpected resolution limits");
    if (h.version >= 0x0300 && (h.min_resolution > h.max_resolution || h.max_resolution > 15))
        fail("unexpected resolution limits");
    if (h.track_count > h.channels)
        fail("more tracks than channels");
    if (h.total_band_count < 1 || h.total_band_count > 128)
        fail("band count out of range");
    unsigned coded = h.base_band_count + h.stereo_band_count;
    if (coded > h.total_band_count || coded == 0 || h.stereo_band_count > h.base_band_count)
        fail("inconsistent band counts");
    if (h.bands_per_hfr_group > 128)
        fail("HFR group size out of range");
    if (h.ath_type > 1)
        fail("unsupported ath type");
    if (h.loop && (h.loop->start_frame > h.loop->end_frame || h.loop->end_frame >= h.frame_count))
        fail("loop outside the stream");
}

void put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void put_tag(std::vector<uint8_t>& out, const char (&name)[5]) {
    put(out, tag(name), 4);
}

} // namespace

unsigned Header::hfr_group_count() const {
    if (bands_per_hfr_group == 0)
        return 0;
    unsigned high = total_band_count - base_band_count - stereo_band_count;
    return (high + bands_per_hfr_group - 1) / bands_per_hfr_group;
}

bool has_hca_signature(std::span<const uint8_t> data) {
    if (data.size() < 4)
        return false;
    uint32_t value =
        (uint32_t(data[0]) << 24) | (uint32_t(data[1]) << 16) | (uint32_t(data[2]) << 8) | data[3];
    return (value & 0x7F7F7F7Fu) == tag("HCA\0");
}

Header parse_header(std::span<const uint8_t> data) {
    if (!has_hca_signature(data))
        throw FormatError("not an HCA stream (no HCA signature)");
    ChunkReader in(data);
    in.skip(4);
    Header h;
    h.version = static_cast<uint16_t>(in.u(2));
    h.header_size = static_cast<uint16_t>(in.u(2));
    if (h.header_size < 8 + 2 || h.header_size > data.size())
        throw FormatError("truncated HCA header");
    if (crc16(data.first(h.header_size)) != 0)
        throw FormatError("HCA header checksum mismatch");
    ChunkReader body(data.first(h.header_size - 2));
    body.skip(8);
    read_fmt(body, h);
    read_comp_or_dec(body, h);
    read_optional_chunks(body, h, h.header_size - 2u);
    if (h.track_count == 0)
        h.track_count = 1;
    validate(h);
    return h;
}

unsigned default_ath_type(uint16_t version) {
    return version < 0x0200 ? 1 : 0;
}

std::vector<uint8_t> write_header(const Header& h) {
    std::vector<uint8_t> out;
    put_tag(out, "HCA\0");
    put(out, h.version, 2);
    put(out, 0, 2); // size, patched below
    put_tag(out, "fmt\0");
    put(out, h.channels, 1);
    put(out, h.sample_rate, 3);
    put(out, h.frame_count, 4);
    put(out, h.encoder_delay, 2);
    put(out, h.encoder_padding, 2);
    if (h.version < 0x0200) {
        put_tag(out, "dec\0");
        put(out, h.frame_size, 2);
        for (unsigned value :
             {h.min_resolution, h.max_resolution, h.total_band_count - 1, h.base_band_count - 1,
              (h.track_count << 4) | h.channel_config, h.stereo_band_count > 0 ? 1u : 0u})
            put(out, value, 1);
    } else {
        put_tag(out, "comp");
        put(out, h.frame_size, 2);
        for (unsigned value :
             {h.min_resolution, h.max_resolution, h.track_count, h.channel_config, h.total_band_count,
              h.base_band_count, h.stereo_band_count, h.bands_per_hfr_group, h.ms_stereo, 0u})
            put(out, value, 1);
    }
    if (h.ath_type != default_ath_type(h.version)) {
        put_tag(out, "ath\0");
        put(out, h.ath_type, 2);
    }
    if (h.loop) {
        put_tag(out, "loop");
        put(out, h.loop->start_frame, 4);
        put(out, h.loop->end_frame, 4);
        put(out, h.loop->start_delay, 2);
        put(out, h.loop->end_padding, 2);
    }
    put_tag(out, "ciph");
    put(out, h.cipher_type, 2);
    if (h.volume != 1.0f) {
        put_tag(out, "rva\0");
        put(out, std::bit_cast<uint32_t>(h.volume), 4);
    }
    if (!h.comment.empty()) {
        put_tag(out, "comm");
        put(out, static_cast<uint32_t>(std::min<size_t>(h.comment.size(), 255)), 1);
        out.insert(out.end(), h.comment.begin(),
                   h.comment.begin() + std::min<ptrdiff_t>(h.comment.size(), 255));
    }
    // Pad to a multiple of 32 bytes so the first frame starts on a round offset.
    size_t size = (out.size() + 4 + 2 + 31) / 32 * 32;
    put_tag(out, "pad\0");
    out.resize(size - 2, 0);
    out[6] = static_cast<uint8_t>(size >> 8);
    out[7] = static_cast<uint8_t>(size);
    put(out, crc16(out), 2);
    return out;
}

} // namespace hca
