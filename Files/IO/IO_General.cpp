// GEN8, OPTN and the small chunks: audio groups, scripts, global init scripts, strings.
#include "IO/IO_Chunks.h"
#include <cmath>
#include <cstdlib>

namespace {

constexpr uint32_t GeneralMinimumLength = 132; // up to the room order's count

void ReadRoomOrder(IO_Reader& reader, GeneralInfo& general) {
    for (uint32_t offset : reader.List()) {
        general.roomOrder.push_back(static_cast<int>(offset)); // room indices, not offsets
    }
}

void ReadGameSpeed(IO_Reader& reader, GeneralInfo& general) {
    reader.Skip(40); // identifier block
    const float speed = reader.F32();
    if (reader.Ok() && !(std::isfinite(speed) && speed > 0)) {
        reader.Fail("invalid game speed");
    }
    general.gameSpeed = speed;
}

// Named constants the runtime itself acts on.
void ApplyConstant(OptionsInfo& options, const std::string& name, const std::string& value) {
    if (name == "@@SleepMargin") {
        options.sleepMargin = static_cast<int>(std::strtol(value.c_str(), nullptr, 10));
    } else if (name == "@@DrawColour") {
        options.drawColour = static_cast<uint32_t>(std::strtoull(value.c_str(), nullptr, 0));
    }
}

void ReadConstants(IO_Reader& reader, OptionsInfo& options) {
    const uint32_t count = reader.U32();
    if (!reader.Has(static_cast<uint64_t>(count) * 8)) {
        reader.Fail("option constants run past the end of the data");
        return;
    }
    for (uint32_t i = 0; i < count && reader.Ok(); ++i) {
        std::string name = reader.StringRef();
        std::string value = reader.StringRef();
        ApplyConstant(options, name, value);
        options.constants.emplace_back(std::move(name), std::move(value));
    }
}

// The first format's flat fields, in file order: the flag bit each sets, or -1 for a field that is
// not a flag (scale, window colour, colour depth, resolution, frequency, vertex sync, priority, the
// three images and the load alpha).
constexpr int FirstFormatFields[] = {0,  1,  2,  3,  4,  -1, 5,  6,  -1, 7,  -1, -1, -1, 8,  -1, 9,  10, 11,
                                     12, 13, 14, -1, 15, 16, -1, -1, -1, 17, -1, 18, 19, 20, 21, 22, 23};

void ReadFirstFormatOptions(IO_Reader& reader, OptionsInfo& options) {
    for (int bit : FirstFormatFields) {
        const uint32_t value = reader.U32();
        if (bit >= 0 && value != 0) {
            options.flags |= uint64_t{1} << bit;
        }
    }
    ReadConstants(reader, options);
}

} // namespace

bool IO_ReadGeneral(IO_Reader& reader, uint32_t length, GameData& out) {
    if (length < GeneralMinimumLength) {
        return reader.Fail("GEN8 chunk too short");
    }
    GeneralInfo general;
    general.debuggerDisabled = reader.U8() != 0;
    general.formatVersion = reader.U8();
    const int version = general.formatVersion;
    reader.Skip(2);
    general.fileName = reader.StringRef();
    general.configName = reader.StringRef();
    general.lastObjectId = reader.U32();
    general.lastTileId = reader.U32();
    general.gameId = reader.U32();
    reader.Skip(16);
    general.gameName = reader.StringRef();
    general.versionMajor = reader.I32();
    general.versionMinor = reader.I32();
    general.versionRelease = reader.I32();
    general.versionBuild = reader.I32();
    const int32_t width = reader.I32(), height = reader.I32();
    const uint32_t flags = reader.U32();
    if (version >= 8) {
        general.windowWidth = width;
        general.windowHeight = height;
        general.infoFlags = flags;
    }
    reader.Skip(20);
    general.buildTime = reader.U64();
    const std::string displayName = reader.StringRef();
    const uint64_t activeTargets = reader.U64();
    const uint64_t classifications = reader.U64();
    const uint32_t storeId = reader.U32(), debuggerPort = reader.U32();
    general.displayName = version >= 10 ? displayName : std::string();
    general.activeTargets = version >= 11 ? activeTargets : 0;
    general.functionClassifications = version >= 12 ? static_cast<int64_t>(classifications) : -1;
    general.storeId = version >= 13 ? storeId : 0;
    general.debuggerPort = version >= 14 ? debuggerPort : 0;
    ReadRoomOrder(reader, general);
    if (version >= 14 && general.versionMajor >= 2) {
        ReadGameSpeed(reader, general);
    }
    out.general = std::move(general);
    return reader.Ok();
}

bool IO_ReadOptions(IO_Reader& reader, uint32_t, GameData& out) {
    OptionsInfo options;
    if (reader.I32() >= 0) {
        reader.Seek(reader.Position() - 4);
        ReadFirstFormatOptions(reader, options);
    } else {
        if (reader.U32() != 2) {
            return reader.Ok(); // a format this runtime does not know: the chunk is ignored
        }
        options.flags = reader.U64();
        reader.Skip(44); // scale .. load alpha
        ReadConstants(reader, options);
    }
    out.options = std::move(options);
    return reader.Ok();
}

bool IO_ReadAudioGroups(IO_Reader& reader, uint32_t, GameData& out) {
    out.audioGroups.clear();
    return IO_ForEachRecord(
        reader, [&] { out.audioGroups.push_back(reader.StringRef()); },
        [&] { out.audioGroups.emplace_back(); });
}

bool IO_ReadScripts(IO_Reader& reader, uint32_t, GameData& out) {
    out.scripts.clear();
    return IO_ForEachRecord(
        reader,
        [&] {
            ScriptData script;
            script.name = reader.StringRef();
            script.codeId = reader.I32();
            out.scripts.push_back(std::move(script));
        },
        [&] { out.scripts.emplace_back(); });
}

bool IO_ReadGlobalInitScripts(IO_Reader& reader, uint32_t, GameData& out) {
    out.globalInitScripts.clear();
    for (uint32_t codeId : reader.List()) {
        out.globalInitScripts.push_back(static_cast<int>(codeId)); // code ids, not offsets
    }
    return reader.Ok();
}

bool IO_ReadStrings(IO_Reader& reader, uint32_t, GameData& out) {
    out.strings.clear();
    return IO_ForEachRecord(
        reader, [&] { out.strings.push_back(reader.StringAt(reader.Position() + 4)); },
        [&] { out.strings.emplace_back(); });
}

bool IO_ReadUnused(IO_Reader& reader, uint32_t, GameData&) {
    return reader.Ok();
}
