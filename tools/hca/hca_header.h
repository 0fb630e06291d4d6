#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace hca {

struct LoopInfo {
    uint32_t start_frame = 0;
    uint32_t end_frame = 0;
    uint16_t start_delay = 0;
    uint16_t end_padding = 0;
};

// Everything a stream's header says, with the 1.x `dec` chunk already mapped onto the `comp` fields.
struct Header {
    uint16_t version = 0x0200;
    uint16_t header_size = 0;
    unsigned channels = 0;
    unsigned sample_rate = 0;
    uint32_t frame_count = 0;
    uint16_t encoder_delay = 0;
    uint16_t encoder_padding = 0;
    uint16_t frame_size = 0;
    unsigned min_resolution = 1;
    unsigned max_resolution = 15;
    unsigned track_count = 1;
    unsigned channel_config = 0;
    unsigned total_band_count = 0;
    unsigned base_band_count = 0;
    unsigned stereo_band_count = 0;
    unsigned bands_per_hfr_group = 0;
    unsigned ms_stereo = 0;
    unsigned ath_type = 0;
    std::optional<LoopInfo> loop;
    unsigned cipher_type = 0;
    float volume = 1.0f;
    std::string comment;

    unsigned hfr_group_count() const;
    uint64_t stream_bytes() const { return header_size + uint64_t{frame_count} * frame_size; }
};

// The signature bytes "HCA\0" (possibly with the top bits of an encrypted stream's tags set).
bool has_hca_signature(std::span<const uint8_t> data);

// Parses and validates the header at the start of `data`; throws FormatError with a reason.
Header parse_header(std::span<const uint8_t> data);

// The ATH curve a stream uses when its header has no ath chunk.
unsigned default_ath_type(uint16_t version);

// Serialises a header in the chunks of its version (dec before 2.0, comp after), with the optional
// chunks its fields ask for, padded to a round size and closed by the CRC.
std::vector<uint8_t> write_header(const Header& header);

} // namespace hca
