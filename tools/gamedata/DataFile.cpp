#include "DataFile.h"
#include "ChunkWriter.h"

std::vector<uint8_t> WriteDataFile(const Assets& assets) {
    ByteWriter out;
    out.Tag("FORM");
    out.U32(0);
    WriteGeneral(out);
    WriteOptions(out);
    WriteChunk(out, "LANG", [&] {
        out.U32(1); // no languages
        out.U32(0);
        out.U32(0);
    });
    WriteEmptyChunks(out, {"EXTN", "SOND"});
    WriteAudioGroups(out);
    WriteSprites(out, assets);
    WriteEmptyChunks(out, {"BGND", "PATH"});
    WriteScripts(out);
    WriteGlobalInitScripts(out);
    WriteEmptyChunks(out, {"SHDR"});
    WriteFonts(out, assets);
    WriteEmptyChunks(out, {"TMLN"});
    WriteObjects(out);
    WriteRooms(out);
    WriteChunk(out, "DAFL", [] {});
    WriteEmbeddedImages(out);
    WriteTexturePageItems(out, assets);
    for (const char* tag : {"CODE", "VARI", "FUNC"}) {
        WriteChunk(out, tag, [] {}); // the code is compiled into the executable
    }
    WriteStrings(out);
    WriteTexturePages(out, assets);
    WriteEmptyChunks(out, {"AUDO"});
    out.PatchU32(4, out.Position() - 8);
    out.Resolve();
    return out.Bytes();
}
