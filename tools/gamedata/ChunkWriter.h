// Helpers shared by the chunk writers.
#pragma once
#include "ByteWriter.h"
#include "DataFile.h"
#include <functional>
#include <string>

// Tag, length, payload; the length is filled in after `body` has written the payload.
void WriteChunk(ByteWriter& out, const char tag[4], const std::function<void()>& body);

// A list: count, then offsets to the records, each record written right after the list by
// `writeRecord(i)`. Labels are `prefix` + ":" + i, so other records may refer to them.
void WriteList(ByteWriter& out, const std::string& prefix, size_t count,
               const std::function<void(size_t)>& writeRecord);
std::string ItemLabel(const std::string& prefix, size_t index);

// A reference to a string of STRG (its first character).
void WriteStringRef(ByteWriter& out, const std::string& text);

// Chunk groups, in the files named after them.
void WriteGeneral(ByteWriter& out);
void WriteOptions(ByteWriter& out);
void WriteEmptyChunks(ByteWriter& out, std::initializer_list<const char*> tags);
void WriteAudioGroups(ByteWriter& out);
void WriteScripts(ByteWriter& out);
void WriteGlobalInitScripts(ByteWriter& out);
void WriteEmbeddedImages(ByteWriter& out);
void WriteStrings(ByteWriter& out);
void WriteSprites(ByteWriter& out, const Assets& assets);
void WriteFonts(ByteWriter& out, const Assets& assets);
void WriteTexturePageItems(ByteWriter& out, const Assets& assets);
void WriteTexturePages(ByteWriter& out, const Assets& assets);
void WriteObjects(ByteWriter& out);
void WriteRooms(ByteWriter& out);

// Label of the texture-page item of a sprite frame, and of the font.
std::string FrameItemLabel(size_t sprite, size_t frame);
inline const char* const FontItemLabel = "tpag:font";
