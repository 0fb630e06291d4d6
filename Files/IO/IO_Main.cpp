#include "IO/IO_Main.h"
#include "Font/Font_Main.h"
#include "IO/IO_Chunks.h"
#include "Runner/Runner_Log.h"
#include "Sprite/Sprite_Main.h"
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

namespace {

struct ChunkHandler {
    const char* tag;
    IO_ChunkReader reader; // nullptr: skipped in the full load
};

constexpr ChunkHandler Handlers[] = {
    {"GEN8", IO_ReadGeneral},
    {"OPTN", IO_ReadOptions},
    {"LANG", IO_ReadUnused},
    {"EXTN", IO_ReadUnused},
    {"SOND", IO_ReadUnused},
    {"AGRP", IO_ReadAudioGroups},
    {"SPRT", Sprite_ReadChunk},
    {"BGND", IO_ReadUnused},
    {"PATH", IO_ReadUnused},
    {"SCPT", IO_ReadScripts},
    {"GLOB", IO_ReadGlobalInitScripts},
    {"SHDR", IO_ReadUnused},
    {"FONT", Font_ReadChunk},
    {"TMLN", IO_ReadUnused},
    {"OBJT", IO_ReadObjects},
    {"ROOM", IO_ReadRooms},
    {"EMBI", IO_ReadUnused},
    {"TPAG", IO_ReadUnused},
    {"CODE", IO_ReadUnused},
    {"FUNC", IO_ReadUnused},
    {"TXTR", IO_ReadTexturePages},
    {"AUDO", IO_ReadUnused},
    {"STRG", IO_ReadStrings},
    {"VARI", nullptr},
    {"DAFL", nullptr},
};

const ChunkHandler* FindHandler(const std::string& tag) {
    for (const ChunkHandler& handler : Handlers) {
        if (tag == handler.tag) {
            return &handler;
        }
    }
    return nullptr;
}

bool IsContainer(const uint8_t* data, size_t length) {
    return data != nullptr && length >= 8 &&
           (std::memcmp(data, "FORM", 4) == 0 || std::memcmp(data, "MROF", 4) == 0);
}

using ChunkVisitor = std::function<bool(const std::string& tag, uint32_t payload, uint32_t length)>;

// Walks the chunks of a checked container; every chunk lies within the container's declared payload.
bool WalkChunks(IO_Reader& reader, const ChunkVisitor& visit, std::string& error) {
    reader.Seek(4);
    const uint64_t end = 8 + static_cast<uint64_t>(reader.U32());
    if (end > reader.Length()) {
        error = "game data truncated: container declares " + std::to_string(end) + " bytes, found " +
                std::to_string(reader.Length());
        return false;
    }
    uint64_t position = 8;
    while (position < end) {
        if (end - position < 8) {
            error = "incomplete chunk header at " + std::to_string(position);
            return false;
        }
        reader.Seek(static_cast<uint32_t>(position));
        const uint32_t tagValue = reader.U32();
        const uint32_t length = reader.U32();
        const uint64_t payload = position + 8;
        if (length > end - payload) {
            error = "chunk at " + std::to_string(position) + " runs past the end of the data";
            return false;
        }
        char tag[4];
        std::memcpy(tag, &tagValue, 4);
        if (!visit(std::string(tag, 4), static_cast<uint32_t>(payload), length)) {
            return false;
        }
        position = payload + length;
    }
    return true;
}

bool CheckContainer(const uint8_t* data, size_t length, std::string& error) {
    if (!IsContainer(data, length)) {
        error = "game data is not a FORM container";
        return false;
    }
    return true;
}

// The game starts in the first room of the order, so every entry must name a room of the data.
bool CheckRoomOrder(const GameData& data, std::string& error) {
    if (data.general.roomOrder.empty()) {
        error = "game data has an empty room order";
        return false;
    }
    for (int room : data.general.roomOrder) {
        if (room < 0 || static_cast<size_t>(room) >= data.rooms.size() || data.rooms[room].name.empty()) {
            error = "the room order names room " + std::to_string(room) + ", which the data does not hold";
            return false;
        }
    }
    return true;
}

void LoadOptionsFile(const std::string& gameFile) {
    const std::string ini = (std::filesystem::path(gameFile).parent_path() / "options.ini").string();
    Runner_Log("Checking if INIFile exists at %s\n", ini.c_str());
    std::error_code error;
    if (std::filesystem::exists(ini, error)) {
        Runner_Log("INIFile %s Exists, loading....\n", ini.c_str());
    }
}

} // namespace

// A folder, a device or an unreadable file fails here rather than in a stream that throws.
bool IO_ReadFile(const std::string& path, std::vector<uint8_t>& out) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        return false;
    }
    out.clear();
    uint8_t buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
        out.insert(out.end(), buffer, buffer + got);
    }
    return !std::ferror(file.get());
}

bool IO_LocateGame(const uint8_t* embedded, size_t embeddedLength, const std::string& executablePath,
                   const std::string& commandLineFile, GameSource& out) {
    const std::filesystem::path executable(executablePath);
    if (embedded != nullptr && embeddedLength > 0) {
        out.data = embedded;
        out.length = embeddedLength;
        out.path = std::filesystem::path(executable).replace_extension(".win").string();
    } else {
        const std::string beside = (executable.parent_path() / "data.win").string();
        std::error_code error;
        out.path =
            std::filesystem::exists(beside, error) || commandLineFile.empty() ? beside : commandLineFile;
        if (!IO_ReadFile(out.path, out.storage)) {
            Runner_Log("FAILED to load File %s\n", out.path.c_str());
            return false;
        }
        Runner_Log("Loaded File %s(%d)\n", out.path.c_str(), static_cast<int>(out.storage.size()));
        out.data = out.storage.data();
        out.length = out.storage.size();
    }
    LoadOptionsFile(out.path);
    return true;
}

bool IO_ReadHeader(const uint8_t* data, size_t length, GeneralInfo& out, std::string& error) {
    if (!CheckContainer(data, length, error)) {
        return false;
    }
    Runner_Log("IFF wad found\n");
    IO_Reader reader(data, length);
    GameData header;
    bool found = false;
    const bool walked = WalkChunks(
        reader,
        [&](const std::string& tag, uint32_t payload, uint32_t chunkLength) {
            if (tag != "GEN8" || found) {
                return true;
            }
            found = true;
            reader.Seek(payload);
            return IO_ReadGeneral(reader, chunkLength, header);
        },
        error);
    if (!walked || !reader.Ok()) {
        error = walked ? reader.Failure() : error;
        return false;
    }
    if (!found) {
        error = "game data has no GEN8 chunk";
        return false;
    }
    out = std::move(header.general);
    return true;
}

bool IO_LoadGame(const uint8_t* data, size_t length, GameData& out, std::string& error) {
    if (!CheckContainer(data, length, error)) {
        return false;
    }
    IO_Reader reader(data, length);
    GameData loaded;
    bool sawGeneral = false;
    const bool walked = WalkChunks(
        reader,
        [&](const std::string& tag, uint32_t payload, uint32_t chunkLength) {
            Runner_Log("Process Chunk: %s   %d\n", tag.c_str(), static_cast<int>(chunkLength));
            loaded.chunks.push_back({tag, payload, chunkLength});
            const ChunkHandler* handler = FindHandler(tag);
            if (handler == nullptr) {
                uint32_t value;
                std::memcpy(&value, tag.data(), 4);
                Runner_Log("unknown Chunk %s:%d\n", tag.c_str(), static_cast<int>(value));
                return true;
            }
            if (handler->reader == nullptr || chunkLength == 0) {
                return true;
            }
            sawGeneral = sawGeneral || tag == "GEN8";
            reader.Seek(payload);
            if (!handler->reader(reader, chunkLength, loaded) || !reader.Ok()) {
                error = "chunk " + tag + ": " + reader.Failure();
                return false;
            }
            return true;
        },
        error);
    if (!walked) {
        return false;
    }
    if (!sawGeneral) {
        error = "game data has no GEN8 chunk";
        return false;
    }
    if (!CheckRoomOrder(loaded, error)) {
        return false;
    }
    out = std::move(loaded);
    return true;
}
