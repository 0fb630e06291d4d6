// file_handed_next(): the next file handed to the program, or "" when there is none. A handed file
// counts as picked by the user, as in an open dialog, so the file functions may read it.
#include "Function/Function_Handed.h"
#include "Code/Code_Function.h"
#include "Function/Function_Families.h"
#include "Runner/Runner_Quiet.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "platform/Platform.h"
#include <deque>
#include <filesystem>

namespace {
std::deque<std::string> handed;

void file_handed_next(RValue& result, CInstance*, CInstance*, int, RValue*) {
    for (std::string& path : CurrentPlatform().TakeDroppedFiles()) {
        handed.push_back(std::move(path));
    }
    if (handed.empty()) {
        result = RValue("");
        return;
    }
    // None waiting is no news: a drop or a hand-over wakes a sleeping loop.
    Runner_MarkFrame("file_handed_next");
    std::string path = std::move(handed.front());
    handed.pop_front();
    FileM_AddChosenForReading(path);
    result = RValue(path);
}
} // namespace

void Handed_Start(const std::vector<std::string>& commandLineFiles) {
    handed.clear();
    for (const std::string& file : commandLineFiles) {
        handed.push_back(System_ResolvedPath(file));
    }
}

void Register_Handed() {
    Function_Add("file_handed_next", file_handed_next, 0);
}
