// The container helpers and the chunks that hold settings, names and scripts.
#include "ChunkWriter.h"
#include "Contents.h"

void WriteChunk(ByteWriter& out, const char tag[4], const std::function<void()>& body) {
    out.Tag(tag);
    const uint32_t lengthPosition = out.Position();
    out.U32(0);
    body();
    out.PatchU32(lengthPosition, out.Position() - lengthPosition - 4);
}

std::string ItemLabel(const std::string& prefix, size_t index) {
    return prefix + ":" + std::to_string(index);
}

void WriteList(ByteWriter& out, const std::string& prefix, size_t count,
               const std::function<void(size_t)>& writeRecord) {
    out.U32(static_cast<uint32_t>(count));
    for (size_t i = 0; i < count; ++i) {
        out.Ref(ItemLabel(prefix, i));
    }
    for (size_t i = 0; i < count; ++i) {
        out.Place(ItemLabel(prefix, i));
        writeRecord(i);
    }
}

namespace {
std::string StringLabel(const std::string& text) {
    return "str:" + text;
}
} // namespace

void WriteStringRef(ByteWriter& out, const std::string& text) {
    out.Ref(StringLabel(text));
}

void WriteGeneral(ByteWriter& out) {
    WriteChunk(out, "GEN8", [&] {
        out.U8(1);  // debugger disabled
        out.U8(16); // format version
        out.U16(0);
        WriteStringRef(out, contents::FileName);
        WriteStringRef(out, "default");
        out.U32(100011);   // last object id
        out.U32(10000000); // last tile id
        out.U32(0);        // game id
        out.Zeros(16);
        WriteStringRef(out, contents::GameName);
        for (uint32_t part : {2u, 0u, 0u, 0u}) {
            out.U32(part); // version major, minor, release, build
        }
        out.U32(contents::RoomWidth);
        out.U32(contents::RoomHeight);
        out.U32(0x6028); // borderless popup, save area under %APPDATA%
        out.Zeros(20);
        out.U64(1521336146); // build time
        WriteStringRef(out, contents::DisplayName);
        out.U64(0); // active targets
        out.U64(0x0040B2AD4F843420);
        out.U32(0);     // store application id
        out.U32(51268); // debugger port
        out.U32(1);     // room order: rm_main only
        out.U32(0);
        out.Zeros(40);
        out.F32(60.0f); // game speed
        out.U32(0);     // statistics not allowed
        out.Zeros(16);
    });
}

void WriteOptions(ByteWriter& out) {
    WriteChunk(out, "OPTN", [&] {
        out.I32(INT32_MIN); // second format
        out.U32(2);
        out.U64(0x480016);
        out.Zeros(4 * 11); // scale .. load alpha
        const std::pair<const char*, const char*> constants[] = {{"@@SleepMargin", "10"},
                                                                 {"@@DrawColour", "4294967295"}};
        out.U32(std::size(constants));
        for (const auto& [name, value] : constants) {
            WriteStringRef(out, name);
            WriteStringRef(out, value);
        }
    });
}

void WriteEmptyChunks(ByteWriter& out, std::initializer_list<const char*> tags) {
    for (const char* tag : tags) {
        WriteChunk(out, tag, [&] { out.U32(0); });
    }
}

void WriteAudioGroups(ByteWriter& out) {
    WriteChunk(out, "AGRP", [&] {
        WriteList(out, "agrp", 1, [&](size_t) { WriteStringRef(out, "audiogroup_default"); });
    });
}

void WriteScripts(ByteWriter& out) {
    const auto& scripts = contents::Scripts();
    WriteChunk(out, "SCPT", [&] {
        WriteList(out, "scpt", scripts.size(), [&](size_t i) {
            WriteStringRef(out, scripts[i].name);
            out.U32(scripts[i].codeId);
        });
    });
}

void WriteGlobalInitScripts(ByteWriter& out) {
    const auto& ids = contents::GlobalInitScripts();
    WriteChunk(out, "GLOB", [&] {
        out.U32(static_cast<uint32_t>(ids.size()));
        for (int id : ids) {
            out.U32(id);
        }
    });
}

void WriteEmbeddedImages(ByteWriter& out) {
    WriteChunk(out, "EMBI", [&] {
        out.U32(1); // version
        out.U32(0);
    });
}

void WriteStrings(ByteWriter& out) {
    const auto& strings = contents::Strings();
    WriteChunk(out, "STRG", [&] {
        const uint32_t start = out.Position();
        WriteList(out, "strg", strings.size(), [&](size_t i) {
            out.U32(static_cast<uint32_t>(strings[i].size()));
            out.Place(StringLabel(strings[i]));
            out.Raw(strings[i].data(), strings[i].size());
            out.U8(0);
        });
        while ((out.Position() - start) % 16 != 0) {
            out.U8(0);
        }
    });
}
