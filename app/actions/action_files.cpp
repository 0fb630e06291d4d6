#include "app/actions/action_files.h"
#include "Support/Win32/Support_System.h"
#include "app/actions/bytes_handled.h"
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace tool {
namespace {
namespace fs = std::filesystem;

uint32_t Little(const std::string& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}
} // namespace

uint64_t FileSize(const std::string& path) {
    std::error_code error;
    const uintmax_t size = fs::file_size(System_Path(path), error);
    return error ? 0 : static_cast<uint64_t>(size);
}

std::string ReadPart(const std::string& path, uint64_t at, size_t length) {
    std::ifstream in(System_Path(path), std::ios::binary);
    in.seekg(static_cast<std::streamoff>(at));
    std::string bytes(length, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(length));
    bytes.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

// RIFF chunks are walked up to "data"; a data size past the end of the file (a writer that could not
// seek back) counts what is there.
WavInfo ReadWavInfo(const std::string& path) {
    WavInfo info;
    std::error_code error;
    const uint64_t fileSize = fs::file_size(System_Path(path), error);
    if (error) {
        return info;
    }
    std::string header = ReadPart(path, 0, 4096);
    if (header.size() < 12 || header.compare(0, 4, "RIFF") != 0 || header.compare(8, 4, "WAVE") != 0) {
        return info;
    }
    int blockAlign = 0;
    for (size_t at = 12; at + 8 <= header.size();) {
        uint32_t size = Little(header, at + 4, 4);
        if (header.compare(at, 4, "fmt ") == 0 && at + 8 + 16 <= header.size()) {
            info.channels = static_cast<int>(Little(header, at + 10, 2));
            info.rate = static_cast<int>(Little(header, at + 12, 4));
            blockAlign = static_cast<int>(Little(header, at + 20, 2));
        } else if (header.compare(at, 4, "data") == 0) {
            uint64_t available = fileSize - (at + 8);
            uint64_t data = size < available ? size : available;
            info.valid = blockAlign > 0 && info.channels > 0 && info.rate > 0;
            info.frames = info.valid ? data / static_cast<uint64_t>(blockAlign) : 0;
            return info;
        }
        at += 8 + size + (size & 1);
    }
    return info;
}

std::optional<std::string> ReadBytes(const std::string& path) {
    std::ifstream in(System_Path(path), std::ios::binary | std::ios::ate);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes(static_cast<size_t>(in.tellg()), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        return std::nullopt;
    }
    return bytes;
}

std::string MakeFreshFolder(const std::string& prefix) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    const char* letters = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = prefix;
        for (int i = 0; i < 6; ++i) {
            name += letters[random() % 36];
        }
        std::error_code error;
        // Made now, by us: create_directory says false for a folder that was there already.
        if (fs::create_directory(System_Path(name), error)) {
            fs::permissions(System_Path(name), fs::perms::owner_all, error);
            return name;
        }
        if (error) {
            return "";
        }
    }
    return "";
}

namespace {
constexpr size_t Block = 1 << 20;
} // namespace

bool SameContent(const OpenFile& a, const OpenFile& b) {
    // Made once a thread: an action compares several times, and memory stays bounded by one pair.
    thread_local std::string left(Block, '\0');
    thread_local std::string right(Block, '\0');
    for (uint64_t at = 0;;) {
        int64_t gotLeft = a.ReadAt(left.data(), Block, at);
        int64_t gotRight = b.ReadAt(right.data(), Block, at);
        if (gotLeft < 0 || gotLeft != gotRight ||
            std::memcmp(left.data(), right.data(), static_cast<size_t>(gotLeft)) != 0) {
            return false;
        }
        if (gotLeft == 0) {
            return true;
        }
        at += static_cast<uint64_t>(gotLeft);
        CountBytesHandled(static_cast<uint64_t>(gotLeft));
    }
}

bool StartsWith(const std::string& path, std::string_view prefix) {
    OpenFile file(path);
    std::string head(prefix.size(), '\0');
    return file.valid() && file.ReadAt(head.data(), head.size(), 0) == static_cast<int64_t>(head.size()) &&
           head == prefix;
}

bool LooksLikeAudio(const std::string& path) {
    std::string head = ReadPart(path, 0, 12);
    auto starts = [&](const char* tag) { return head.compare(0, std::strlen(tag), tag) == 0; };
    bool wav = head.size() == 12 && starts("RIFF") && head.compare(8, 4, "WAVE") == 0;
    // An MP3 opens with its ID3 tag or straight with a frame: eleven set sync bits.
    bool mp3 = starts("ID3") || (head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFF &&
                                 (static_cast<unsigned char>(head[1]) & 0xE0) == 0xE0);
    return wav || mp3 || starts("OggS");
}

bool Snapshot::Untouched() const {
    const FileState now = StateOf(path_);
    return now.exists ? Existed() && now.SameVersion(kept_.Original()) : !Existed();
}

void Snapshot::NoteCreated() {
    if (!Existed()) {
        created_ = StateOf(path_);
    }
}

bool Snapshot::PutBack() {
    const FileState now = StateOf(path_);
    if (!Existed()) {
        std::error_code error;
        return !now.exists || (now.SameFile(created_) && fs::remove(System_Path(path_), error));
    }
    // Written in place since (not by us): its old bytes are gone, and guessing would do harm.
    return Untouched() || (kept_.Unchanged() && kept_.PutBack(path_));
}
} // namespace tool
