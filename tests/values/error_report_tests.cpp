#include "Code/Code_Error.h"
#include "Runner/Runner_Log.h"
#include <gtest/gtest.h>

namespace {
std::vector<std::string> shown;
int exitCode = -1;
void Capture(const std::string& report) {
    shown.push_back(report);
}
void RecordExit(int code) {
    exitCode = code;
    // a second error while reporting must not be formatted again
    ShowErrorReport("second", 1, "Step", "obj");
}
} // namespace

TEST(ErrorReport, HoldsTheEventAndTheTraceChain) {
    Runner_SetLogToStderr(false);
    SetErrorSink(Capture);
    SetErrorExit(RecordExit);
    {
        TraceScope outer("Object_obj_menu_import_Step_0");
        outer.Line(4);
        TraceScope inner("Script_cmd");
        inner.Line(2);
        ShowErrorReport("unable to add a number to string", 1, "Step Event", "obj_menu_import");
    }
    ASSERT_EQ(1u, shown.size()) << "the nested report must be suppressed";
    EXPECT_EQ("ERROR in\naction number 1\nof Step Event\nfor object obj_menu_import:\n\n\n"
              "unable to add a number to string\n"
              "called from - Script_cmd (line 2)\n"
              "called from - Object_obj_menu_import_Step_0 (line 4)",
              shown[0]);
    EXPECT_EQ(1, exitCode);
    EXPECT_TRUE(ErrorPending());
    EXPECT_EQ(nullptr, TraceTop());
}

TEST(ErrorReport, RuntimeErrorMessagesAreCutAt1024Bytes) {
    std::string longText(3000, 'x');
    try {
        RuntimeError("%s", longText.c_str());
        FAIL();
    } catch (const ScriptError& error) {
        EXPECT_EQ(1023u, std::string(error.what()).size());
    }
}
