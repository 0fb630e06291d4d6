// What the tool's game data holds: names, sizes, code ids, the room. The pictures come from Art.h.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace contents {

struct Sprite {
    std::string name;
    int width, height;
    int originX, originY;
    float playbackSpeed; // frames per second
};

struct Script {
    std::string name;
    int codeId;
};

// Event types used by the tool's objects.
enum EventType { Create = 0, Step = 3, Draw = 8, CleanUp = 12, PreCreate = 14 };
constexpr int BeginStepSubtype = 1;
constexpr int DrawGuiSubtype = 64;

struct Event {
    int type, subtype, codeId;
};

struct Object {
    std::string name;
    int spriteIndex; // -1 none
    bool persistent;
    std::vector<Event> events;
};

struct Instance {
    uint32_t id;
    int objectIndex;
    int x, y;
};

const std::vector<Sprite>& Sprites();
const std::vector<Script>& Scripts();
const std::vector<int>& GlobalInitScripts();
const std::vector<Object>& Objects();
const std::vector<Instance>& RoomInstances();
// Every string of STRG in its order; records refer to these by text.
const std::vector<std::string>& Strings();

inline const char* const FileName = "Morvane Radio Tuner";
inline const char* const DisplayName = "Morvane Radio Tuner";
inline const char* const GameName = "Morvane_Radio_Tuner";
inline const char* const FontName = "fnt_open_9";
inline const char* const FontFace = "Open Sans";
inline const char* const RoomName = "rm_main";
constexpr int RoomWidth = 384, RoomHeight = 192;
constexpr uint32_t FirstCharacter = 32, LastAsciiCharacter = 126, PlayTriangle = 0x25B7;

} // namespace contents
