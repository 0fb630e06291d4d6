// The game data as the loader hands it to the runtime: plain records, no behaviour.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct GeneralInfo {
    bool debuggerDisabled = true;
    int formatVersion = 0;
    std::string fileName, configName, gameName, displayName;
    uint32_t lastObjectId = 0, lastTileId = 0, gameId = 0;
    int versionMajor = 0, versionMinor = 0, versionRelease = 0, versionBuild = 0;
    int windowWidth = 0, windowHeight = 0;
    uint32_t infoFlags = 0;
    uint64_t buildTime = 0;
    uint64_t activeTargets = 0;
    int64_t functionClassifications = -1;
    uint32_t storeId = 0, debuggerPort = 0;
    std::vector<int> roomOrder;
    float gameSpeed = 0; // 0 when the data does not carry it
};

struct OptionsInfo {
    uint64_t flags = 0;
    std::vector<std::pair<std::string, std::string>> constants; // in file order
    int sleepMargin = 10;
    uint32_t drawColour = 0xFFFFFFFF;
};

struct TexturePageItem {
    uint16_t sourceX, sourceY, sourceWidth, sourceHeight;
    uint16_t targetX, targetY, targetWidth, targetHeight;
    uint16_t boundingWidth, boundingHeight;
    uint16_t page;
};

struct SpriteData {
    std::string name;
    int width = 0, height = 0;
    int bboxLeft = 0, bboxRight = 0, bboxBottom = 0, bboxTop = 0;
    bool transparent = false, smooth = false, preload = false;
    int bboxMode = 0;
    bool separateMasks = false;
    int originX = 0, originY = 0;
    float playbackSpeed = 15;
    int playbackSpeedType = 0; // 0 frames per second, 1 frames per game frame
    std::vector<TexturePageItem> frames;
    std::vector<std::vector<uint8_t>> masks;
};

struct GlyphData {
    uint16_t character;
    uint16_t x, y, width, height;
    int16_t shift, offset;
    std::vector<std::pair<int16_t, int16_t>> kerning;
};

struct FontData {
    std::string name, faceName;
    int size = 0;
    bool bold = false, italic = false;
    int firstCharacter = 0, lastCharacter = 0;
    int characterSet = 0, antialiasing = 0;
    TexturePageItem item{};
    float scaleX = 1, scaleY = 1;
    std::vector<GlyphData> glyphs;
};

struct ActionData {
    uint32_t libraryId = 0, actionId = 0, kind = 0;
    bool useRelative = false, isQuestion = false, useApplyTo = false;
    uint32_t executionType = 0;
    std::string name;
    int codeId = -1;
    uint32_t argumentCount = 0;
    int who = -1;
    bool relative = false, isNot = false;
};

struct EventData {
    int subtype = 0;
    std::vector<ActionData> actions;
};

constexpr int EventTypeCount = 15;

struct ObjectData {
    std::string name;
    int spriteIndex = -1;
    bool visible = true, solid = false;
    int depth = 0;
    bool persistent = false;
    int parentIndex = -100;
    int maskIndex = -1;
    // events[type] lists that type's events by subtype.
    std::vector<EventData> events[EventTypeCount];
};

struct ViewData {
    bool enabled = false;
    int viewX = 0, viewY = 0, viewWidth = 0, viewHeight = 0;
    int portX = 0, portY = 0, portWidth = 0, portHeight = 0;
    int borderX = 0, borderY = 0, speedX = 0, speedY = 0, followObject = -1;
};

struct RoomInstanceData {
    int x = 0, y = 0;
    int objectIndex = -1;
    int id = 0;
    int creationCode = -1;
    float scaleX = 1, scaleY = 1;
    uint32_t colour = 0xFFFFFFFF;
    float rotation = 0;
    int preCreateCode = -1;
};

enum class LayerType { Background = 1, Instances = 2, Assets = 3, Tiles = 4 };

struct LayerData {
    std::string name;
    int id = 0;
    LayerType type = LayerType::Instances;
    int depth = 0;
    float xOffset = 0, yOffset = 0, hSpeed = 0, vSpeed = 0;
    bool visible = true;
    // Background layers
    bool backgroundVisible = true, foreground = false;
    int spriteIndex = -1;
    bool tileH = false, tileV = false, stretch = false;
    uint32_t colour = 0; // blue-green-red in the low bytes, alpha on top
    uint32_t firstFrame = 0;
    float animationSpeed = 0;
    uint32_t animationSpeedType = 0;
    // Instance layers
    std::vector<int> instanceIds;
};

struct RoomData {
    std::string name, caption;
    int width = 0, height = 0, speed = 0;
    bool persistent = false;
    uint32_t backgroundColour = 0;
    bool drawBackgroundColour = false;
    int creationCode = -1;
    uint32_t flags = 0; // bit 0: views enabled
    ViewData views[8];
    std::vector<RoomInstanceData> instances; // holes skipped
    float gravityX = 0, gravityY = 0, metersPerPixel = 0;
    std::vector<LayerData> layers;
};

struct ScriptData {
    std::string name;
    int codeId = -1;
};

struct TexturePageData {
    uint32_t scaled = 0, generatedMips = 0;
    std::vector<uint8_t> png; // decoded when graphics start
};

// Where a chunk lies in the data: its tag, the offset of its payload and the payload length.
struct ChunkInfo {
    std::string tag;
    uint32_t offset = 0, length = 0;
};

struct GameData {
    std::vector<ChunkInfo> chunks; // in file order
    GeneralInfo general;
    OptionsInfo options;
    std::vector<std::string> audioGroups;
    std::vector<SpriteData> sprites;
    std::vector<ScriptData> scripts;
    std::vector<int> globalInitScripts;
    std::vector<FontData> fonts;
    std::vector<ObjectData> objects; // by object index; holes have an empty name
    std::vector<RoomData> rooms;
    std::vector<TexturePageData> texturePages;
    std::vector<std::string> strings;
};
