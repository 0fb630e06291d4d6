// external_define and external_call against a test library and the real tuner.dll.
#include "Code/Code_Error.h"
#include "Code/Code_Function.h"
#include "Function/Function_Families.h"
#include "Runner/Runner_Log.h"
#include "Runner/Runner_State.h"
#include "Support/Win32/Support_DLLM.h"
#include "Support/Win32/Support_FileM.h"
#include "platform/scripted/Scripted_Platform.h"
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

RValue Call(const char* name, std::vector<RValue> args, RValue result = RValue()) {
    static const bool registered = (Register_External(), true);
    (void)registered;
    int index = Function_Find(name);
    Function_Call(nullptr, nullptr, result, static_cast<int>(args.size()), index, args.data());
    return result;
}

// A failed definition is shown with its report and gives -1; the program goes on.
std::string ErrorOf(std::vector<RValue> args) {
    static std::string shown;
    static bool ended;
    shown = "nothing shown";
    ended = false;
    SetErrorSink([](const std::string& report) { shown = report; });
    SetErrorExit([](int) { ended = true; });
    EXPECT_EQ(Call("external_define", std::move(args)).AsReal(), -1);
    EXPECT_FALSE(ended);
    EXPECT_FALSE(ErrorPending());
    SetErrorSink(nullptr);
    SetErrorExit(nullptr);
    return shown;
}

class External : public testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/external-XXXXXX";
        root_ = ::mkdtemp(pattern);
        fs::create_directories(root_ / "save");
        FileM_SetSaveArea((root_ / "save").string());
        FileM_SetProgramFolder(TEST_LIBRARY_FOLDER);
        Runner_SetArguments({});
        Runner_SetLogToStderr(false);
        Runner_OpenLogFile((root_ / "runtime.log").string());
        SetCurrentPlatform(&platform_); // calls are modal waits of the platform
    }
    void TearDown() override {
        SetCurrentPlatform(nullptr);
        Runner_CloseLogFile();
        Runner_SetLogToStderr(true);
        fs::remove_all(root_);
    }

    double Define(const char* function, int resultType, std::vector<int> types) {
        std::vector<RValue> args = {RValue("testlib.dll"), RValue(function), RValue(0), RValue(resultType),
                                    RValue(static_cast<int>(types.size()))};
        for (int type : types) {
            args.emplace_back(type);
        }
        return Call("external_define", std::move(args)).AsReal();
    }

    std::string Log() const {
        std::ifstream in(root_ / "runtime.log");
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path root_;
    ScriptedPlatform platform_;
};

} // namespace

TEST_F(External, DefinitionErrorsHaveTheirOwnTexts) {
    EXPECT_EQ(ErrorOf({RValue("testlib.dll"), RValue("Add3"), RValue(0), RValue(0)}),
              "Wrong number of arguments to external_define()");
    EXPECT_EQ(ErrorOf({RValue("testlib.dll"), RValue("Add3"), RValue(0), RValue(0), RValue(3), RValue(0),
                       RValue(0)}),
              "Wrong number of arguments to external_define()");
    std::vector<RValue> seventeen = {RValue("testlib.dll"), RValue("Add3"), RValue(0), RValue(0), RValue(17)};
    seventeen.resize(22, RValue(0));
    EXPECT_EQ(ErrorOf(seventeen), "DLL functions can have at most 16 arguments");
    EXPECT_EQ(ErrorOf({RValue("testlib.dll"), RValue("Sum6"), RValue(0), RValue(0), RValue(6), RValue(0),
                       RValue(0), RValue(0), RValue(1), RValue(0), RValue(0)}),
              "DLL functions with more than 4 arguments cannot have string arguments");
    EXPECT_EQ(ErrorOf({RValue("nothing.dll"), RValue("Add3"), RValue(0), RValue(0), RValue(0)}),
              "Error defining an external function.");
    EXPECT_NE(Log().find("LoadLibraryA failed with error code "), std::string::npos);
    EXPECT_EQ(ErrorOf({RValue("testlib.dll"), RValue("Missing"), RValue(0), RValue(0), RValue(0)}),
              "Error defining an external function.");
}

TEST_F(External, CallsPassRealsAndStringsInTheirPlaces) {
    double add3 = Define("Add3", 0, {0, 0, 0});
    double mix4 = Define("Mix4", 0, {1, 0, 1, 0});
    double sum6 = Define("Sum6", 0, {0, 0, 0, 0, 0, 0});
    double greet = Define("Greet", 1, {1});
    double noText = Define("NoText", 1, {});
    EXPECT_GE(add3, 0);
    EXPECT_EQ(mix4, add3 + 1);
    EXPECT_EQ(Call("external_call", {RValue(add3), RValue(1), RValue(2), RValue(3)}).AsReal(), 321);
    EXPECT_EQ(
        Call("external_call", {RValue(mix4), RValue("abcd"), RValue(5), RValue("xy"), RValue(7)}).AsReal(),
        4527);
    // A number where a string is expected arrives as a null pointer.
    EXPECT_EQ(Call("external_call", {RValue(mix4), RValue("a"), RValue(0), RValue(3), RValue(0)}).AsReal(),
              1090);
    EXPECT_EQ(Call("external_call",
                   {RValue(sum6), RValue(1), RValue(1), RValue(1), RValue(1), RValue(1), RValue(1)})
                  .AsReal(),
              21);
    EXPECT_EQ(Call("external_call", {RValue(greet), RValue("radio")}).Text(), "hello radio");
    RValue empty = Call("external_call", {RValue(noText)});
    EXPECT_TRUE(empty.isString());
    EXPECT_EQ(empty.Text(), "");
}

// ELF linkers read '@' in a symbol as a version, so no library here can export a decorated name:
// the name looked up is checked, and a plain name is called as cdecl.
TEST_F(External, DecoratedNameCountsEightBytesPerRealAndFourPerString) {
    EXPECT_EQ(DLLM_DecoratedName("RunSilent", {true, true}), "_RunSilent@8");
    EXPECT_EQ(DLLM_DecoratedName("F", {false, true, false}), "_F@20");
    EXPECT_EQ(DLLM_DecoratedName("G", {}), "_G@0");
    EXPECT_FALSE(DLLM_Find(static_cast<int>(Define("Add3", 0, {0, 0, 0})))->stdcall);
}

TEST_F(External, CallMismatchesAreSilent) {
    double add3 = Define("Add3", 0, {0, 0, 0});
    double count = Define("CallCount", 0, {});
    double before = Call("external_call", {RValue(count)}).AsReal();
    EXPECT_EQ(Call("external_call", {RValue(-1), RValue(1)}, RValue("untouched")).Text(), "untouched");
    EXPECT_EQ(Call("external_call", {RValue(100000)}, RValue("x")).AsReal(), 0);
    EXPECT_EQ(Call("external_call", {RValue(add3), RValue(1), RValue(2)}, RValue("x")).AsReal(), 0);
    Runner_SetArguments({"-ext"});
    EXPECT_EQ(Call("external_call", {RValue(add3), RValue(1), RValue(2), RValue(3)}).AsReal(), 0);
    EXPECT_EQ(Define("Add3", 0, {0, 0, 0}), add3 + 2);
    Runner_SetArguments({});
    EXPECT_EQ(Call("external_call", {RValue(count)}).AsReal(), before);
}

TEST_F(External, LibraryInTheSaveAreaWinsAndTheCurrentFolderIsKept) {
    fs::copy_file(fs::path(TEST_LIBRARY_FOLDER) / "testlib.dll", root_ / "save/testlib.dll");
    fs::path before = fs::current_path();
    double id = Define("Add3", 0, {0, 0, 0});
    EXPECT_EQ(fs::current_path(), before);
    Dl_info info{};
    ASSERT_NE(::dladdr(DLLM_Find(static_cast<int>(id))->address, &info), 0);
    EXPECT_EQ(fs::path(info.dli_fname), root_ / "save/testlib.dll");
    EXPECT_EQ(DLLM_LibraryPath("elsewhere.dll"), "elsewhere.dll");
}

TEST_F(External, RegisterCallbacksIsOfferedOnEveryDefinition) {
    double registrations = Define("Registrations", 0, {});
    double length = Define("SaveAreaLength", 0, {});
    double count = Call("external_call", {RValue(registrations)}).AsReal();
    Define("Add3", 0, {0, 0, 0});
    EXPECT_EQ(Call("external_call", {RValue(registrations)}).AsReal(), count + 1);
    EXPECT_EQ(Call("external_call", {RValue(length)}).AsReal(), static_cast<double>(FileM_SaveArea().size()));
}
