#include "Code/Code_Error.h"
#include "Code/Code_Function.h"
#include "Function/Function_Date.h"
#include "Function/Function_Families.h"
#include "Runner/Runner_Log.h"
#include "Runner/Runner_Quiet.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "Support/Win32/Support_TextFile.h"
#include "Variable/Variable_BuiltIn.h"
#include <cstdio>
#include <memory>
#include <optional>

namespace {
constexpr std::string_view Separators = "\\/";

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

std::string_view TextArg(int argc, RValue* args, int i) {
    const char* text = ArgText(argc, args, i);
    return text != nullptr ? std::string_view(text) : std::string_view();
}

bool CopyBytes(std::FILE* from, std::FILE* to) {
    char buffer[65536];
    for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, from)) > 0;) {
        if (std::fwrite(buffer, 1, read, to) != read) {
            return false;
        }
    }
    return !std::ferror(from);
}

void F_FileExists(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("file_exists");
    result = RValue(FileM_IsFile(FileM_ResolveExisting(TextArg(argc, args, 0))) ? 1.0 : 0.0);
}

void F_FileDelete(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("file_delete");
    std::string path = FileM_ResolveWrite(TextArg(argc, args, 0));
    result = RValue(FileM_IsFile(path) && std::remove(path.c_str()) == 0 ? 1.0 : 0.0);
}

void F_FileCopy(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("file_copy");
    std::string_view source = TextArg(argc, args, 0);
    std::string_view destination = TextArg(argc, args, 1);
    std::string sourcePath = FileM_ResolveExisting(source);
    FilePointer from(FileM_IsFile(sourcePath) ? std::fopen(sourcePath.c_str(), "rb") : nullptr);
    if (!from) {
        Runner_Log("Unable to open source file %.*s\n", static_cast<int>(source.size()), source.data());
        result = RValue(-1.0);
        return;
    }
    std::string destinationPath = FileM_ResolveWrite(destination);
    // Onto itself: the file already holds what the copy would write.
    if (!destinationPath.empty() && System_SameFile(sourcePath, destinationPath)) {
        result = RValue(0.0);
        return;
    }
    // Written beside the destination and renamed over it, so a failed copy leaves the old one (or none).
    std::optional<System_ReplacingFile> to;
    if (!destinationPath.empty()) {
        to.emplace(destinationPath);
    }
    if (!to || to->file() == nullptr) {
        Runner_Log("Unable to open destination file %.*s\n", static_cast<int>(destination.size()),
                   destination.data());
        result = RValue(-1.0);
        return;
    }
    result = RValue(CopyBytes(from.get(), to->file()) && to->Commit() ? 0.0 : -1.0);
}

void F_FileTextOpenRead(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("file_text_open_read");
    std::string_view name = TextArg(argc, args, 0);
    bool noFreeSlot = false;
    int slot = TextFile_OpenRead(FileM_ResolveExisting(name), noFreeSlot);
    if (noFreeSlot) {
        RuntimeWarning("Cannot open another file (maximum exceeded).");
    } else if (slot < 0) {
        Runner_Log("ERROR!!! :: Failed to open file: %.*s\n", static_cast<int>(name.size()), name.data());
    }
    result = RValue(static_cast<double>(slot));
}

// The slot argument of the reading functions, or -1 after reporting that it is not open.
int ReadingSlot(int argc, RValue* args) {
    int slot = ArgInt(argc, args, 0);
    if (!TextFile_IsReading(slot)) {
        RuntimeWarning("File is not opened for reading.");
        return -1;
    }
    return slot;
}

void F_FileTextReadln(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("file_text_readln");
    result = RValue(TextFile_ReadLine(ReadingSlot(argc, args)));
}

// A slot that is not open counts as ended, so a read loop over a failed open stops.
void F_FileTextEof(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("file_text_eof");
    result = RValue(TextFile_AtEnd(ReadingSlot(argc, args)) ? 1.0 : 0.0);
}

void F_FileTextClose(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("file_text_close");
    int slot = ArgInt(argc, args, 0);
    if (slot < 1 || slot >= TextFileSlotCount) {
        RuntimeWarning("Trying to close text file that has not been opened.");
    }
    TextFile_Close(slot);
    result = RValue(0.0);
}

void F_FilenameName(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    std::string_view path = TextArg(argc, args, 0);
    size_t separator = path.find_last_of(Separators);
    result = RValue(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

// The result keeps the separator it found last; a bare name is looked up to find its folder.
void F_FilenamePath(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    const char* text = ArgText(argc, args, 0);
    if (text == nullptr) {
        RuntimeError("null string passed to filename_path");
    }
    std::string_view path = text;
    size_t separator = path.find_last_of(Separators);
    if (separator != std::string_view::npos && separator > 0) {
        result = RValue(path.substr(0, separator + 1));
        return;
    }
    std::string resolved = FileM_ResolveExisting(path);
    result = RValue(resolved.substr(0, resolved.rfind('/') + 1));
}

void F_FilenameExt(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    std::string_view path = TextArg(argc, args, 0);
    size_t dot = path.rfind('.');
    result = RValue(dot == std::string_view::npos ? std::string_view() : path.substr(dot));
}

// The executable's folder without its trailing separator.
void GetProgramDirectory(CInstance*, int, RValue& out) {
    const std::string& folder = FileM_ProgramFolder();
    out = RValue(std::string_view(folder).substr(0, folder.empty() ? 0 : folder.size() - 1));
}
} // namespace

void Register_File() {
    Function_Add("file_exists", F_FileExists, 1);
    Function_Add("file_delete", F_FileDelete, 1);
    Function_Add("file_copy", F_FileCopy, 2);
    Function_Add("file_text_open_read", F_FileTextOpenRead, 1);
    Function_Add("file_text_readln", F_FileTextReadln, 1);
    Function_Add("file_text_eof", F_FileTextEof, 1);
    Function_Add("file_text_close", F_FileTextClose, 1);
    Function_Add("filename_name", F_FilenameName, 1);
    Function_Add("filename_path", F_FilenamePath, 1);
    Function_Add("filename_ext", F_FilenameExt, 1);
    Register_Date();
    Variable_BuiltIn_Add("program_directory", GetProgramDirectory, nullptr);
}
