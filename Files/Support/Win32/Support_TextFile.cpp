#include "Support/Win32/Support_TextFile.h"
#include "Support/Win32/Support_FileM.h"
#include <array>
#include <cstdio>
#include <memory>

namespace {
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

enum class SlotMode { Free, Read };

struct TextFileSlot {
    std::string path;
    std::unique_ptr<std::FILE, FileCloser> stream;
    SlotMode mode = SlotMode::Free;
};

std::array<TextFileSlot, TextFileSlotCount>& Slots() {
    static std::array<TextFileSlot, TextFileSlotCount> slots;
    return slots;
}

bool IsUsable(int slot) {
    return slot >= 1 && slot < TextFileSlotCount;
}

int FirstFreeSlot() {
    for (int slot = 1; slot < TextFileSlotCount; ++slot) {
        if (Slots()[slot].mode == SlotMode::Free) {
            return slot;
        }
    }
    return -1;
}

// Text mode: a CR directly before an LF is dropped.
int ReadTextChar(std::FILE* stream) {
    int c = std::fgetc(stream);
    if (c == '\r') {
        int next = std::fgetc(stream);
        if (next == '\n') {
            return next;
        }
        if (next != EOF) {
            std::ungetc(next, stream);
        }
    }
    return c;
}
} // namespace

int TextFile_OpenRead(const std::string& path, bool& noFreeSlot) {
    int slot = FirstFreeSlot();
    noFreeSlot = slot < 0;
    if (noFreeSlot || !FileM_IsFile(path)) {
        return -1;
    }
    std::unique_ptr<std::FILE, FileCloser> stream(std::fopen(path.c_str(), "rb"));
    if (!stream) {
        return -1;
    }
    Slots()[slot] = {path, std::move(stream), SlotMode::Read};
    return slot;
}

bool TextFile_IsReading(int slot) {
    return IsUsable(slot) && Slots()[slot].mode == SlotMode::Read;
}

std::string TextFile_ReadLine(int slot) {
    if (!TextFile_IsReading(slot)) {
        return {};
    }
    std::FILE* stream = Slots()[slot].stream.get();
    std::string line;
    line.reserve(1024);
    for (int c = ReadTextChar(stream); c != EOF; c = ReadTextChar(stream)) {
        line += static_cast<char>(c);
        if (c == '\n') {
            break;
        }
    }
    return line;
}

bool TextFile_AtEnd(int slot) {
    if (!TextFile_IsReading(slot)) {
        return true;
    }
    std::FILE* stream = Slots()[slot].stream.get();
    int next = std::fgetc(stream);
    if (next == EOF) {
        return true;
    }
    std::ungetc(next, stream);
    return false;
}

void TextFile_Close(int slot) {
    if (IsUsable(slot)) {
        Slots()[slot] = TextFileSlot{};
    }
}

void TextFile_CloseAll() {
    for (TextFileSlot& slot : Slots()) {
        slot = TextFileSlot{};
    }
}
