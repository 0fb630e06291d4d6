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
    // a second error while reporting must not be shown again
    try {
        RuntimeError("second");
    } catch (const ScriptError& error) {
        ShowErrorReport(error);
    }
}

ScriptError RaiseInsideAScript(const char* format, const char* text) {
    ReportContextScope context("Step Event", "obj_menu_import");
    TraceScope outer("Object_obj_menu_import_Step_0");
    outer.Line(4);
    TraceScope inner("Script_cmd");
    inner.Line(2);
    try {
        RuntimeError(format, text);
    } catch (const ScriptError& error) {
        return error;
    }
    return ScriptError("", "");
}
} // namespace

// The report is made where the error is raised: the chain is gone by the time it is shown.
TEST(ErrorReport, KeepsTheTraceChainOfWhereTheErrorWasRaised) {
    Runner_SetLogToStderr(false);
    SetErrorSink(Capture);
    SetErrorExit(RecordExit);
    ScriptError error = RaiseInsideAScript("%s", "unable to add a number to string");
    EXPECT_EQ(nullptr, TraceTop());
    ShowErrorReport(error);
    ASSERT_EQ(1u, shown.size()) << "the nested report must be suppressed";
    EXPECT_EQ("ERROR in\naction number 1\nof Step Event\nfor object obj_menu_import:\n\n\n"
              "unable to add a number to string\n"
              "called from - Script_cmd (line 2)\n"
              "called from - Object_obj_menu_import_Step_0 (line 4)",
              shown[0]);
    EXPECT_EQ(1, exitCode);
    EXPECT_TRUE(ErrorPending());
    ClearErrorPending();
    EXPECT_EQ(1023u, std::string(RaiseInsideAScript("%s", std::string(3000, 'x').c_str()).what()).size());
    SetErrorSink(nullptr);
    SetErrorExit(nullptr);
}
