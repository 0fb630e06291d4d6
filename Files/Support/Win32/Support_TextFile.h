// The text files opened by file_text_*: slots 1-31 (slot 0 is never handed out).
#pragma once
#include <string>

constexpr int TextFileSlotCount = 32;

// Opens an already resolved file for reading; the slot number, or -1 (no free slot or no file).
// noFreeSlot tells the two failures apart.
int TextFile_OpenRead(const std::string& path, bool& noFreeSlot);
bool TextFile_IsReading(int slot);
// The next line including its line feed; CR LF is read as LF. Empty at the end.
std::string TextFile_ReadLine(int slot);
bool TextFile_AtEnd(int slot);
void TextFile_Close(int slot);
// Closes every open slot.
void TextFile_CloseAll();
