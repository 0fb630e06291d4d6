// The chunk readers of the full load. Each gets the reader at the start of its chunk's payload and
// the payload length; it fills its part of GameData and reports failure through the reader.
#pragma once
#include "IO/IO_GameData.h"
#include "IO/IO_Reader.h"

using IO_ChunkReader = bool (*)(IO_Reader& reader, uint32_t length, GameData& out);

bool IO_ReadGeneral(IO_Reader& reader, uint32_t length, GameData& out);
bool IO_ReadOptions(IO_Reader& reader, uint32_t length, GameData& out);
bool IO_ReadAudioGroups(IO_Reader& reader, uint32_t length, GameData& out);
bool IO_ReadScripts(IO_Reader& reader, uint32_t length, GameData& out);
bool IO_ReadGlobalInitScripts(IO_Reader& reader, uint32_t length, GameData& out);
bool IO_ReadStrings(IO_Reader& reader, uint32_t length, GameData& out);
// Chunks whose records the tool never has (sounds, paths, ...): any content is accepted and unused.
bool IO_ReadUnused(IO_Reader& reader, uint32_t length, GameData& out);
bool IO_ReadObjects(IO_Reader& reader, uint32_t length, GameData& out);
bool IO_ReadRooms(IO_Reader& reader, uint32_t length, GameData& out);
bool IO_ReadTexturePages(IO_Reader& reader, uint32_t length, GameData& out);

// A texture-page item at an absolute offset; the reader's position is kept.
TexturePageItem IO_ReadTextureItem(IO_Reader& reader, uint32_t offset);

// Calls `readRecord` with the reader at each record of the list at the current position; a hole
// (offset 0) calls `hole` instead, so callers that index by position can keep the slot.
template <typename ReadRecord, typename Hole>
bool IO_ForEachRecord(IO_Reader& reader, ReadRecord readRecord, Hole hole) {
    const std::vector<uint32_t> offsets = reader.List();
    for (uint32_t offset : offsets) {
        if (!reader.Ok()) {
            break;
        }
        if (offset == 0) {
            hole();
            continue;
        }
        const uint32_t saved = reader.Position();
        reader.Seek(offset);
        readRecord();
        reader.Seek(saved);
    }
    return reader.Ok();
}

template <typename ReadRecord> bool IO_ForEachRecord(IO_Reader& reader, ReadRecord readRecord) {
    return IO_ForEachRecord(reader, readRecord, [] {});
}
