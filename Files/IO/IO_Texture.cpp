// Texture-page items and the texture pages (PNG files kept as bytes until graphics start).
#include "IO/IO_Chunks.h"
#include <cstring>

namespace {

constexpr uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t BigEndian(const std::vector<uint8_t>& bytes) {
    return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
}

// The length of the PNG file at the reader's position, found by walking its chunks up to IEND
// without going past `end`. 0 when it is not a complete PNG file.
uint32_t PngLength(IO_Reader& reader, uint64_t end) {
    const uint32_t start = reader.Position();
    const std::vector<uint8_t> signature = reader.Bytes(8);
    if (!reader.Ok() || std::memcmp(signature.data(), PngSignature, 8) != 0) {
        return 0;
    }
    while (reader.Position() + uint64_t{12} <= end) {
        const std::vector<uint8_t> header = reader.Bytes(8);
        const uint64_t next = reader.Position() + uint64_t{BigEndian(header)} + 4;
        if (next > end) {
            return 0;
        }
        reader.Seek(static_cast<uint32_t>(next));
        if (std::memcmp(header.data() + 4, "IEND", 4) == 0) {
            return static_cast<uint32_t>(next - start);
        }
    }
    return 0;
}

} // namespace

TexturePageItem IO_ReadTextureItem(IO_Reader& reader, uint32_t offset) {
    const uint32_t saved = reader.Position();
    reader.Seek(offset);
    TexturePageItem item{};
    for (uint16_t* field :
         {&item.sourceX, &item.sourceY, &item.sourceWidth, &item.sourceHeight, &item.targetX, &item.targetY,
          &item.targetWidth, &item.targetHeight, &item.boundingWidth, &item.boundingHeight, &item.page}) {
        *field = reader.U16();
    }
    reader.Seek(saved);
    return item;
}

bool IO_ReadTexturePages(IO_Reader& reader, uint32_t length, GameData& out) {
    const uint64_t end = uint64_t{reader.Position()} + length;
    out.texturePages.clear();
    return IO_ForEachRecord(
        reader,
        [&] {
            TexturePageData page;
            page.scaled = reader.U32();
            page.generatedMips = reader.U32();
            const uint32_t image = reader.U32();
            if (!reader.Ok()) {
                return;
            }
            reader.Seek(image);
            const uint32_t size = PngLength(reader, end);
            if (size == 0) {
                reader.Fail("texture page " + std::to_string(out.texturePages.size()) +
                            " is not a complete PNG file");
                return;
            }
            reader.Seek(image);
            page.png = reader.Bytes(size);
            out.texturePages.push_back(std::move(page));
        },
        [&] { out.texturePages.emplace_back(); });
}
