#include "app/actions/audio_length.h"
#include "Support/Win32/Support_System.h"
#include <array>
#include <filesystem>

namespace tool {
namespace {
unsigned byte_at(const std::string& bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

uint32_t big_endian(const std::string& bytes, size_t at) {
    return byte_at(bytes, at) << 24 | byte_at(bytes, at + 1) << 16 | byte_at(bytes, at + 2) << 8 |
           byte_at(bytes, at + 3);
}

// The identification packet: "\x01vorbis", version, channels, rate.
WavInfo ogg_length(const std::string& path, const std::string& head) {
    WavInfo info;
    const size_t at = head.find(std::string("\x01vorbis", 7));
    if (at == std::string::npos || at + 16 > head.size()) {
        return info;
    }
    info.channels = static_cast<int>(byte_at(head, at + 11));
    info.rate = static_cast<int>(byte_at(head, at + 12) | byte_at(head, at + 13) << 8 |
                                 byte_at(head, at + 14) << 16 | byte_at(head, at + 15) << 24);
    info.frames = ogg_last_position(path);
    info.valid = info.channels > 0 && info.rate > 0 && info.frames > 0;
    return info;
}

// Past an ID3v2 tag: ten bytes, then a size in four 7-bit bytes, ten more with a footer.
size_t after_tag(const std::string& head) {
    if (head.size() < 10 || head.compare(0, 3, "ID3") != 0) {
        return 0;
    }
    const size_t size = (byte_at(head, 6) & 0x7F) << 21 | (byte_at(head, 7) & 0x7F) << 14 |
                        (byte_at(head, 8) & 0x7F) << 7 | (byte_at(head, 9) & 0x7F);
    return 10 + size + ((byte_at(head, 5) & 0x10) != 0 ? 10 : 0);
}

// An MPEG layer III frame header; a VBR encoder's "Xing"/"Info" frame counts the frames after it.
WavInfo mp3_length(const std::string& path) {
    constexpr std::array<unsigned, 15> Mpeg1Kbps{0,   32,  40,  48,  56,  64,  80, 96,
                                                 112, 128, 160, 192, 224, 256, 320};
    constexpr std::array<unsigned, 15> Mpeg2Kbps{0,  8,  16, 24,  32,  40,  48, 56,
                                                 64, 80, 96, 112, 128, 144, 160};
    constexpr std::array<unsigned, 3> Mpeg1Rates{44100, 48000, 32000};
    WavInfo info;
    const size_t start = after_tag(ReadPart(path, 0, 10));
    const std::string head = ReadPart(path, start, 4096);
    if (head.size() < 4 || byte_at(head, 0) != 0xFF || (byte_at(head, 1) & 0xE0) != 0xE0) {
        return info;
    }
    const unsigned version = (byte_at(head, 1) >> 3) & 3; // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    const unsigned layer = (byte_at(head, 1) >> 1) & 3;   // 1 is layer III
    const unsigned bitrateIndex = byte_at(head, 2) >> 4;
    const unsigned rateIndex = (byte_at(head, 2) >> 2) & 3;
    if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) {
        return info;
    }
    const bool mpeg1 = version == 3;
    info.rate = static_cast<int>(Mpeg1Rates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2));
    info.channels = (byte_at(head, 3) >> 6) == 3 ? 1 : 2;
    const uint64_t samplesPerFrame = mpeg1 ? 1152 : 576;
    const size_t sideInfo = mpeg1 ? (info.channels == 1 ? 17 : 32) : (info.channels == 1 ? 9 : 17);
    const size_t tag = 4 + sideInfo;
    if (head.size() >= tag + 12 && (head.compare(tag, 4, "Xing") == 0 || head.compare(tag, 4, "Info") == 0) &&
        (big_endian(head, tag + 4) & 1) != 0) {
        info.frames = uint64_t{big_endian(head, tag + 8)} * samplesPerFrame;
    } else {
        const uint64_t bitsPerSecond = uint64_t{(mpeg1 ? Mpeg1Kbps : Mpeg2Kbps)[bitrateIndex]} * 1000;
        info.frames = (FileSize(path) - start) * 8 * static_cast<uint64_t>(info.rate) / bitsPerSecond;
    }
    info.valid = info.frames > 0;
    return info;
}
} // namespace

WavInfo ReadAudioLength(const std::string& path) {
    const std::string head = ReadPart(path, 0, 4096);
    if (head.compare(0, 4, "RIFF") == 0) {
        return ReadWavInfo(path);
    }
    if (head.compare(0, 4, "OggS") == 0) {
        return ogg_length(path, head);
    }
    return mp3_length(path);
}

// A page: "OggS", version 0, header type, then the 64-bit position; -1 on a page where no packet ends.
uint64_t ogg_last_position(const std::string& path) {
    const uint64_t size = FileSize(path);
    const uint64_t from = size > 65536 ? size - 65536 : 0;
    const std::string tail = ReadPart(path, from, static_cast<size_t>(size - from));
    for (size_t at = tail.rfind("OggS"); at != std::string::npos && at + 14 <= tail.size();
         at = at == 0 ? std::string::npos : tail.rfind("OggS", at - 1)) {
        uint64_t position = 0;
        for (int i = 7; i >= 0; --i) {
            position = (position << 8) | byte_at(tail, at + 6 + static_cast<size_t>(i));
        }
        if (tail[at + 4] == 0 && position != ~uint64_t{0}) {
            return position;
        }
    }
    return 0;
}
} // namespace tool
