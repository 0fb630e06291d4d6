// File dialogs and message boxes. All are modal waits of the platform: the frame loop stands still
// until they close, and the click or key that closed them does not reach the next Step.
#include "Code/Code_Function.h"
#include "Function/Function_Families.h"
#include "Function/Function_Utf8.h"
#include "Runner/Runner_Quiet.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "platform/Platform.h"
#include <filesystem>
#include <system_error>

namespace {
// The dialogs' shared name buffer holds 260 characters, the terminator included.
constexpr size_t NameBufferCharacters = 259;

// Puts the process's current folder back when the dialog is done, whatever the dialog did to it.
class CurrentFolderKeeper {
  public:
    CurrentFolderKeeper() { saved_ = std::filesystem::current_path(error_); }
    ~CurrentFolderKeeper() {
        if (!error_)
            std::filesystem::current_path(saved_, error_);
    }
    CurrentFolderKeeper(const CurrentFolderKeeper&) = delete;
    CurrentFolderKeeper& operator=(const CurrentFolderKeeper&) = delete;

  private:
    std::error_code error_;
    std::filesystem::path saved_;
};

struct DialogRequest {
    std::string filter, defaultName, folder, title;
};

std::string ArgString(int argc, RValue* args, int i) {
    return i < argc ? ToDisplayString(args[i]) : "";
}

DialogRequest ReadRequest(int argc, RValue* args) {
    DialogRequest request{ArgString(argc, args, 0), ArgString(argc, args, 1), ArgString(argc, args, 2),
                          ArgString(argc, args, 3)};
    request.defaultName.resize(Utf8Advance(request.defaultName, 0, NameBufferCharacters));
    // Folders may be written with either separator.
    request.folder = System_NativeSeparators(request.folder);
    return request;
}

enum class DialogKind { Open, Save };

std::string RunFileDialog(DialogKind kind, const DialogRequest& request) {
    std::string chosen;
    {
        CurrentFolderKeeper keeper;
        Platform& platform = CurrentPlatform();
        chosen =
            kind == DialogKind::Open
                ? platform.OpenFileDialog(request.filter, request.defaultName, request.folder, request.title)
                : platform.SaveFileDialog(request.filter, request.defaultName, request.folder, request.title);
    }
    if (!chosen.empty()) {
        if (kind == DialogKind::Open)
            FileM_AddChosenForReading(chosen);
        else
            FileM_AddChosenForWriting(chosen);
    }
    return chosen;
}

void get_open_filename_ext(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("get_open_filename_ext");
    result = RValue(RunFileDialog(DialogKind::Open, ReadRequest(argc, args)));
}

void get_save_filename_ext(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("get_save_filename_ext");
    result = RValue(RunFileDialog(DialogKind::Save, ReadRequest(argc, args)));
}

void show_message(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("show_message");
    Platform& platform = CurrentPlatform();
    platform.ShowMessage(ArgString(argc, args, 0), platform.Caption());
    result = RValue(0.0);
}

void show_question(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("show_question");
    Platform& platform = CurrentPlatform();
    const bool yes = platform.ShowQuestion(ArgString(argc, args, 0), platform.Caption());
    result = RValue(yes ? 1.0 : 0.0);
}
} // namespace

void Register_Interaction() {
    Function_Add("get_open_filename_ext", get_open_filename_ext, 4);
    Function_Add("get_save_filename_ext", get_save_filename_ext, 4);
    Function_Add("show_message", show_message, 1);
    Function_Add("show_question", show_question, 1);
}
