#include "GameDataTestSupport.h"
#include "IO/IO_Main.h"
#include "IO/IO_Png.h"
#include "Runner/Runner_Log.h"
#include "data/GameDataBlob.h"
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

std::vector<uint8_t> EmbeddedBytes() {
    return {kGameData, kGameData + kGameDataSize};
}

const GameData& LoadedGame() {
    static const GameData game = [] {
        GameData data;
        std::string error;
        EXPECT_TRUE(IO_LoadGame(kGameData, kGameDataSize, data, error)) << error;
        return data;
    }();
    return game;
}

uint32_t ReadU32(const std::vector<uint8_t>& bytes, uint32_t offset) {
    uint32_t value;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

void WriteU32(std::vector<uint8_t>& bytes, uint32_t offset, uint32_t value) {
    std::memcpy(bytes.data() + offset, &value, 4);
}

uint32_t ChunkPayload(const std::vector<uint8_t>& bytes, const char* tag) {
    for (uint32_t position = 8; position + 8 <= bytes.size(); position += 8 + ReadU32(bytes, position + 4)) {
        if (std::memcmp(bytes.data() + position, tag, 4) == 0) {
            return position + 8;
        }
    }
    ADD_FAILURE() << "no chunk " << tag;
    return 0;
}

void AppendChunk(std::vector<uint8_t>& bytes, const char tag[4], const std::vector<uint8_t>& payload) {
    bytes.insert(bytes.end(), tag, tag + 4);
    const uint32_t length = static_cast<uint32_t>(payload.size());
    bytes.insert(bytes.end(), reinterpret_cast<const uint8_t*>(&length),
                 reinterpret_cast<const uint8_t*>(&length) + 4);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    WriteU32(bytes, 4, static_cast<uint32_t>(bytes.size() - 8));
}

bool Load(const std::vector<uint8_t>& bytes, GameData& out, std::string& error) {
    return IO_LoadGame(bytes.data(), bytes.size(), out, error);
}

QuietLog::QuietLog() {
    Runner_SetLogToStderr(false);
}
QuietLog::~QuietLog() {
    Runner_SetLogToStderr(true);
}

std::string CaptureLog(const std::function<void()>& body) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("gamedata_log_" + std::to_string(getpid()) + ".txt"))
            .string();
    std::filesystem::remove(path);
    {
        const QuietLog quiet;
        Runner_OpenLogFile(path);
        body();
        Runner_CloseLogFile();
    }
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    std::filesystem::remove(path);
    return text.str();
}

bool DecodeWholePng(const uint8_t* data, size_t length, RgbaImage& out, std::string& error) {
    IO_PngReader reader;
    if (!reader.Open(data, length, error))
        return false;
    const size_t pitch = size_t(reader.Width()) * 4;
    std::vector<uint8_t> pixels(pitch * size_t(reader.Height()));
    if (!reader.ReadRows(pixels.data(), pitch, reader.Height(), error))
        return false;
    out = RgbaImage{reader.Width(), reader.Height(), std::move(pixels)};
    return true;
}
