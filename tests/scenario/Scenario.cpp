#include "Scenario.h"
#include "Code/Code_Main.h"
#include "DrawRecorder.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Runner/Runner_Form.h"
#include "Runner/Runner_Loop.h"
#include "Runner/Runner_Quiet.h"
#include "ScenarioWorkspace.h"
#include "Variable/Variable_BuiltIn.h"
#include "app/Tool_Game.h"
#include "data/GameDataBlob.h"
#include "platform/scripted/Scripted_Platform.h"
#include <AL/al.h>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>

namespace fs = std::filesystem;

namespace {
// Whether a process this one started (or adopted, as a subreaper) is still running; finished ones are
// reaped.
bool CommandsRunning() {
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        std::ifstream children(task.path() / "children");
        if (children.peek() != std::ifstream::traits_type::eof())
            return true;
    }
    return false;
}

// Background commands (the splash's unpack) run in real time while frames run as fast as the machine
// goes, so the frames one spans would depend on the machine's load, and the two runs of a scenario would
// part. Before each frame, the commands started so far end (a minute at most): the copies a background
// line leaves come to this process, a subreaper, when the line's own interpreter ends.
void AwaitBackgroundCommands() {
    static const bool adopting = ::prctl(PR_SET_CHILD_SUBREAPER, 1) == 0;
    for (int waited = 0; adopting && waited < 30000 && CommandsRunning(); ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

constexpr int64_t FrameMicros = 16667;

// One line split into words; "quoted text" is one word ("" inside quotes is a quote).
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            for (++i; i < line.size(); ++i) {
                if (line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                    word += '"';
                    ++i;
                } else if (line[i] == '"') {
                    ++i;
                    break;
                } else {
                    word += line[i];
                }
            }
            words.push_back("\x01" + word); // marks a quoted word: always a string
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
                word += line[i++];
            }
            words.push_back(word);
        }
    }
    return words;
}

// "\n" in an expected text stands for a line feed.
std::string LineFeeds(const std::string& text) {
    std::string result;
    for (size_t at = 0; at < text.size(); ++at) {
        const bool escape = text.compare(at, 2, "\\n") == 0;
        result += escape ? '\n' : text[at];
        at += escape ? 1 : 0;
    }
    return result;
}

bool Quoted(const std::string& word) {
    return !word.empty() && word[0] == '\x01';
}
std::string Plain(const std::string& word) {
    return Quoted(word) ? word.substr(1) : word;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct ScenarioFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A key's runtime code from its name in a scenario: a letter or digit, f1-f12 or one of the names below.
int KeyCode(const std::string& name) {
    static const std::map<std::string, int> named = {{"shift", 16}, {"ctrl", 17},  {"alt", 18}, {"esc", 27},
                                                     {"space", 32}, {"left", 37},  {"up", 38},  {"right", 39},
                                                     {"down", 40},  {"return", 13}};
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return std::toupper(static_cast<unsigned char>(name[0]));
    if (name.size() >= 2 && name[0] == 'f' && std::isdigit(static_cast<unsigned char>(name[1])))
        return 111 + std::stoi(name.substr(1));
    auto found = named.find(name);
    if (found == named.end())
        throw ScenarioFailure("unknown key '" + name + "'");
    return found->second;
}

// "ctrl+shift+r": the keys of a chord, in the order they go down.
std::vector<int> Chord(const std::string& text) {
    std::vector<int> keys;
    std::stringstream parts(text);
    for (std::string part; std::getline(parts, part, '+');)
        keys.push_back(KeyCode(part));
    return keys;
}

class ScenarioRun {
  public:
    ScenarioRun(const ScenarioOptions& options, std::ostream& report)
        : report_(report), workspace_(options.binFolder, options.keepWorkspace, options.root),
          skipQuietFrames_(options.skipQuietFrames) {
        tracing_ = !options.tracePath.empty();
        variables_ = {
            {"APPDATA", workspace_.AppData()}, {"PROGRAM", workspace_.Program()},
            {"WORK", workspace_.Work()},       {"SOURCE", options.sourceFolder},
            {"BIN", options.binFolder},        {"LIB", workspace_.AppData() + "/Morvane_Radio_Tuner/lib"},
            {"HOME", workspace_.Home()}};
        setenv("SCENARIO_WORK", workspace_.Work().c_str(), 1);
        setenv("SCENARIO_SOURCE", options.sourceFolder.c_str(), 1);
        setenv("SCENARIO_PROGRAM", workspace_.Program().c_str(), 1);
        setenv("SCENARIO_LIB", variables_["LIB"].c_str(), 1);
        if (options.keepWorkspace) {
            report_ << "workspace: " << workspace_.Root() << "\n";
        }
    }

    ~ScenarioRun() { Stop(); }

    int failures = 0;

    void Execute(const std::vector<std::string>& words, const std::string& line, int lineNumber) {
        lineNumber_ = lineNumber;
        // The frames skipped while asleep are accounted for at the wake-up: what a step looks at is the
        // state they would have left.
        Runner_CatchUp();
        if (words[0] == "shell") {
            // the rest of the line goes to /bin/sh as written
            Shell(Expand(line.substr(line.find("shell") + 5)));
            return;
        }
        std::vector<std::string> args;
        for (size_t i = 1; i < words.size(); ++i) {
            // Appended, not `"\x01" + std::string&&`, which GCC 12 at -O3 takes for an overlapping copy.
            std::string arg = Quoted(words[i]) ? std::string(1, '\x01') : std::string();
            arg += Expand(Plain(words[i]));
            args.push_back(std::move(arg));
        }
        auto command = Commands().find(words[0]);
        if (command == Commands().end()) {
            throw ScenarioFailure("unknown step '" + words[0] + "'");
        }
        command->second(*this, args);
        Runner_CatchUp();
        Trace(words[0]);
    }

    // What a run that skips quiet frames and one that runs every frame must agree on after each step:
    // the whole state, the picture, the boxes and dialogs, the cursor, the window, the end.
    void Trace(const std::string& step) {
        if (!tracing_) {
            return;
        }
        uint64_t boxes = 14695981039346656037ull;
        for (const auto& box : platform_.Boxes()) {
            for (char c : box.text + '\x01' + box.caption + char('0' + box.question + 2 * box.answer)) {
                boxes = (boxes ^ uint8_t(c)) * 1099511628211ull;
            }
        }
        int x = 0, y = 0;
        platform_.WindowPosition(x, y);
        const bool live = started_ && !finalised_;
        trace_ << "line " << lineNumber_ << " " << step << ": state " << std::hex
               << (live ? Runner_StateFingerprint() : 0) << " picture " << platform_.PictureHash() << std::dec
               << " presents " << platform_.PresentCount() << " boxes " << platform_.Boxes().size() << "/"
               << std::hex << boxes << std::dec << " dialogs " << platform_.Dialogs().size() << " cursor "
               << platform_.Cursor() << " window " << x << "," << y << " running " << (started_ && !finished_)
               << " exit " << exitCode_ << "\n";
        // Cell by cell, so that a difference says where it is.
        if (live) {
            std::istringstream cells(Runner_StateCells());
            for (std::string cell; std::getline(cells, cell);) {
                trace_ << "    " << cell << "\n";
            }
        }
    }

    // How many frames the runtime left out, and in how many sleeps.
    std::string QuietSummary() const {
        const RunnerLoopState& state = Runner_LoopState();
        return std::to_string(state.skippedFrames) + " of " + std::to_string(framesAsked_) +
               " frames skipped in " + std::to_string(state.sleeps) + " sleeps";
    }

    void Stop() {
        if (started_ && !finished_) {
            platform_.RequestQuit();
            Frames(1);
        }
        if (started_ && !finalised_) {
            exitCode_ = Runner_Finish();
            finalised_ = true;
        }
    }

  private:
    using Step = std::function<void(ScenarioRun&, const std::vector<std::string>&)>;

    static const std::map<std::string, Step>& Commands() {
        static const std::map<std::string, Step> commands = {
            {"start", [](ScenarioRun& run, const auto& a) { run.Start(a); }},
            {"start-data-win", [](ScenarioRun& run, const auto&) { run.Start({}, true); }},
            {"frames", [](ScenarioRun& run, const auto& a) { run.Frames(run.Int(a, 0)); }},
            {"pointer", [](ScenarioRun& run, const auto& a) { run.Pointer(run.Int(a, 0), run.Int(a, 1)); }},
            {"press", [](ScenarioRun& run, const auto&) { run.platform_.Press(1); }},
            {"release", [](ScenarioRun& run, const auto&) { run.platform_.Release(1); }},
            {"click",
             [](ScenarioRun& run, const auto& a) {
                 run.Pointer(run.Int(a, 0), run.Int(a, 1));
                 run.platform_.Press(1);
                 run.Frames(1);
                 run.platform_.Release(1);
                 run.Frames(1);
             }},
            {"key-down",
             [](ScenarioRun& run, const auto& a) { run.platform_.KeyDown(KeyCode(run.Arg(a, 0))); }},
            {"key-up", [](ScenarioRun& run, const auto& a) { run.platform_.KeyUp(KeyCode(run.Arg(a, 0))); }},
            {"key",
             [](ScenarioRun& run, const auto& a) {
                 const std::vector<int> keys = Chord(run.Arg(a, 0));
                 for (int key : keys)
                     run.platform_.KeyDown(key);
                 run.Frames(1);
                 for (int key : keys)
                     run.platform_.KeyUp(key);
                 run.Frames(1);
             }},
            {"wheel", [](ScenarioRun& run,
                         const auto& a) { run.platform_.TurnWheel(run.Arg(a, 0) == "up" ? 1 : -1); }},
            {"focus", [](ScenarioRun& run, const auto& a) { run.platform_.SetFocus(run.Arg(a, 0) == "on"); }},
            {"open", [](ScenarioRun& run, const auto& a) { run.platform_.QueueOpenAnswer(run.Answer(a)); }},
            {"drop", [](ScenarioRun& run, const auto& a) { run.platform_.Drop(Plain(run.Arg(a, 0))); }},
            // A later start of the program hands its file over: on this platform it arrives as a drop does.
            {"hand-over", [](ScenarioRun& run, const auto& a) { run.platform_.Drop(Plain(run.Arg(a, 0))); }},
            {"save", [](ScenarioRun& run, const auto& a) { run.platform_.QueueSaveAnswer(run.Answer(a)); }},
            {"answer", [](ScenarioRun& run,
                          const auto& a) { run.platform_.QueueQuestionAnswer(run.Arg(a, 0) == "yes"); }},
            {"quit", [](ScenarioRun& run, const auto&) { run.Stop(); }},
            {"expect-message",
             [](ScenarioRun& run, const auto& a) { run.ExpectBox(Plain(run.Arg(a, 0)), false); }},
            {"expect-question",
             [](ScenarioRun& run, const auto& a) { run.ExpectBox(Plain(run.Arg(a, 0)), true); }},
            {"expect-no-message", [](ScenarioRun& run, const auto&) { run.ExpectNoBox(); }},
            {"expect-global",
             [](ScenarioRun& run, const auto& a) { run.ExpectValue(run.Global(a, 0), a, 1); }},
            {"expect-var",
             [](ScenarioRun& run, const auto& a) { run.ExpectValue(run.InstanceValue(a), a, 2); }},
            {"until-global", [](ScenarioRun& run, const auto& a) { run.UntilGlobal(a); }},
            {"expect-file", [](ScenarioRun& run, const auto& a) { run.ExpectFile(a); }},
            {"expect-same", [](ScenarioRun& run, const auto& a) { run.ExpectSame(a); }},
            {"expect-starts-with", [](ScenarioRun& run, const auto& a) { run.ExpectStartsWith(a); }},
            {"expect-contains", [](ScenarioRun& run, const auto& a) { run.ExpectContains(a); }},
            {"expect-cursor",
             [](ScenarioRun& run, const auto& a) {
                 run.Check(run.platform_.Cursor() == run.Int(a, 0),
                           "cursor is " + std::to_string(run.platform_.Cursor()));
             }},
            {"expect-window", [](ScenarioRun& run, const auto& a) { run.ExpectWindow(a); }},
            {"screen-pointer",
             [](ScenarioRun& run, const auto& a) {
                 run.platform_.SetScreenPointer(run.Int(a, 0), run.Int(a, 1));
             }},
            {"expect-running",
             [](ScenarioRun& run, const auto& a) {
                 run.Check((run.Arg(a, 0) == "yes") == (run.started_ && !run.finished_),
                           "running state differs");
             }},
            {"expect-exit-code",
             [](ScenarioRun& run, const auto& a) {
                 run.Check(run.exitCode_ == run.Int(a, 0), "exit code " + std::to_string(run.exitCode_));
             }},
            {"expect-drawn",
             [](ScenarioRun& run, const auto& a) { run.ExpectDrawn(Plain(run.Arg(a, 0)), true); }},
            {"expect-not-drawn",
             [](ScenarioRun& run, const auto& a) { run.ExpectDrawn(Plain(run.Arg(a, 0)), false); }},
            {"expect-drawn-prefix",
             [](ScenarioRun& run, const auto& a) { run.ExpectDrawn(Plain(run.Arg(a, 0)), true, true); }},
            {"expect-master-gain",
             [](ScenarioRun& run, const auto& a) { run.ExpectMasterGain(std::stod(Plain(run.Arg(a, 0)))); }},
            {"expect-dialog", [](ScenarioRun& run, const auto& a) { run.ExpectDialog(a); }},
            // Whether the frame loop sleeps (skipping quiet frames; a run of every frame never does).
            {"expect-asleep",
             [](ScenarioRun& run, const auto& a) {
                 if (run.skipQuietFrames_) {
                     const bool asleep = Runner_LoopState().asleep;
                     run.Check(asleep == (run.Arg(a, 0) == "yes"),
                               std::string(asleep ? "asleep" : "awake") +
                                   " (the last frame: " + Runner_QuietReason() + ")");
                 }
             }},
        };
        return commands;
    }

    std::string Expand(std::string text) const {
        for (const auto& [name, value] : variables_) {
            std::string key = "${" + name + "}";
            for (size_t at; (at = text.find(key)) != std::string::npos;) {
                text.replace(at, key.size(), value);
            }
        }
        return text;
    }

    const std::string& Arg(const std::vector<std::string>& args, size_t i) const {
        if (i >= args.size()) {
            throw ScenarioFailure("missing argument " + std::to_string(i + 1));
        }
        return args[i];
    }
    int Int(const std::vector<std::string>& args, size_t i) const { return std::stoi(Plain(Arg(args, i))); }
    std::string Answer(const std::vector<std::string>& args) const {
        return Arg(args, 0) == "cancel" ? "" : LineFeeds(Plain(Arg(args, 0)));
    }

    bool Check(bool ok, const std::string& message) {
        if (!ok) {
            ++failures;
            report_ << "line " << lineNumber_ << ": " << message << "\n";
        }
        return ok;
    }

    // fromDataWin: the game data comes from data.win in the program folder, not from the executable,
    // and a start that fails is expected (its exit code is then checked).
    void Start(const std::vector<std::string>& openFiles, bool fromDataWin = false) {
        RunnerConfig config;
        config.programFolder = workspace_.Program();
        config.skipQuietFrames = skipQuietFrames_;
        for (const std::string& file : openFiles) {
            config.openFiles.push_back(Plain(file));
        }
        const EmbeddedGame& game = fromDataWin ? Tool_Game(nullptr, 0) : Tool_Game(kGameData, kGameDataSize);
        started_ = Runner_Start(config, game, platform_);
        finished_ = !started_;
        exitCode_ = started_ ? 0 : Runner_LoopState().exitCode;
        Check(started_ || fromDataWin, "the tool did not start");
    }

    void Frames(int count) {
        for (int i = 0; i < count && started_ && !finished_; ++i) {
            ++framesAsked_;
            AwaitBackgroundCommands();
            platform_.AdvanceClock(FrameMicros);
            finished_ = !Runner_Frame();
        }
        if (finished_ && started_ && !finalised_) {
            exitCode_ = Runner_Finish();
            finalised_ = true;
        }
    }

    void Pointer(int x, int y) {
        platform_.SetPointer(x, y);
        int wx = 0, wy = 0;
        platform_.WindowPosition(wx, wy);
        platform_.SetScreenPointer(wx + x, wy + y);
    }

    void Shell(const std::string& command) {
        int status = std::system(command.c_str());
        Check(status == 0, "shell step failed: " + command);
    }

    void ExpectBox(std::string text, bool question) {
        text = LineFeeds(text);
        const auto& boxes = platform_.Boxes();
        if (boxesSeen_ >= boxes.size()) {
            Check(false, "no message box was shown; expected \"" + text + "\"");
            return;
        }
        const auto& box = boxes[boxesSeen_++];
        Check(box.text == text && box.question == question,
              "message box \"" + box.text + "\", expected \"" + text + "\"");
    }

    void ExpectNoBox() {
        const auto& boxes = platform_.Boxes();
        Check(boxesSeen_ == boxes.size(),
              "unexpected message box \"" + (boxesSeen_ < boxes.size() ? boxes[boxesSeen_].text : "") + "\"");
        boxesSeen_ = boxes.size();
    }

    // The last file dialog: open or save, filter, default name, start folder, title.
    void ExpectDialog(const std::vector<std::string>& args) {
        const auto& dialogs = platform_.Dialogs();
        if (!Check(!dialogs.empty(), "no file dialog was shown")) {
            return;
        }
        const auto& d = dialogs.back();
        std::string kind = d.kind == ScriptedPlatform::DialogKind::Open ? "open" : "save";
        Check(kind == Arg(args, 0) && d.filter == Plain(Arg(args, 1)) &&
                  d.defaultName == Plain(Arg(args, 2)) && d.folder == Plain(Arg(args, 3)) &&
                  d.title == Plain(Arg(args, 4)),
              "last dialog: " + kind + " \"" + d.filter + "\" \"" + d.defaultName + "\" \"" + d.folder +
                  "\" \"" + d.title + "\"");
    }

    int Slot(const std::string& name) const {
        const EmbeddedGame& game = Tool_Game(kGameData, kGameDataSize);
        for (size_t i = 0; i < game.variableCount; ++i) {
            if (name == game.variables[i].name && game.variables[i].slot >= 0) {
                return game.variables[i].slot;
            }
        }
        throw ScenarioFailure("no variable " + name);
    }

    RValue Global(const std::vector<std::string>& args, size_t i) const {
        return GlobalObject()->Slot(Slot(Plain(Arg(args, i))));
    }

    RValue InstanceValue(const std::vector<std::string>& args) const {
        const std::string objectName = Plain(Arg(args, 0));
        const std::string name = Plain(Arg(args, 1));
        for (int index = 0; index < Object_Count(); ++index) {
            CObject* object = Object_Get(index);
            if (object && object->name == objectName && !object->instances.empty()) {
                CInstance* instance = object->instances.front();
                int builtin = Variable_BuiltIn_Find(name);
                if (builtin >= 0) {
                    RValue value;
                    Variable_BuiltIn_Get(instance, builtin, NoArrayIndex, value);
                    return value;
                }
                return instance->Slot(Slot(name));
            }
        }
        throw ScenarioFailure("no instance of " + objectName);
    }

    static bool Matches(const RValue& actual, const std::string& expected) {
        if (Quoted(expected)) {
            return actual.isString() && actual.Text() == Plain(expected);
        }
        if (actual.isString()) {
            return false;
        }
        return std::fabs(actual.AsReal() - std::stod(expected)) < 1e-9;
    }

    void ExpectValue(const RValue& actual, const std::vector<std::string>& args, size_t at) {
        Check(Matches(actual, Arg(args, at)),
              "value is " + ToDisplayString(actual) + ", expected " + Plain(Arg(args, at)));
    }

    void UntilGlobal(const std::vector<std::string>& args) {
        int limit = args.size() > 2 ? Int(args, 2) : 600;
        for (int i = 0; i < limit && !Matches(Global(args, 0), Arg(args, 1)); ++i) {
            Frames(1);
            Runner_CatchUp();
        }
        ExpectValue(Global(args, 0), args, 1);
    }

    void ExpectFile(const std::vector<std::string>& args) {
        bool exists = fs::exists(Plain(Arg(args, 0)));
        bool wanted = Arg(args, 1) == "exists";
        Check(exists == wanted, Plain(Arg(args, 0)) + (exists ? " exists" : " is missing"));
    }

    void ExpectSame(const std::vector<std::string>& args) {
        std::string a = Plain(Arg(args, 0)), b = Plain(Arg(args, 1));
        Check(fs::exists(a) && fs::exists(b) && ReadFile(a) == ReadFile(b), a + " and " + b + " differ");
    }

    void ExpectStartsWith(const std::vector<std::string>& args) {
        std::string whole = ReadFile(Plain(Arg(args, 0))), head = ReadFile(Plain(Arg(args, 1)));
        Check(!head.empty() && whole.size() > head.size() && whole.compare(0, head.size(), head) == 0,
              Plain(Arg(args, 0)) + " does not start with " + Plain(Arg(args, 1)));
    }

    void ExpectContains(const std::vector<std::string>& args) {
        std::string text = ReadFile(Plain(Arg(args, 0)));
        Check(text.find(LineFeeds(Plain(Arg(args, 1)))) != std::string::npos,
              Plain(Arg(args, 0)) + " does not contain \"" + Plain(Arg(args, 1)) + "\"");
    }

    // Whether the last frame drew this text.
    void ExpectDrawn(const std::string& text, bool wanted, bool prefix = false) {
        bool drawn = false;
        for (const std::string& drawnText : recorder_.Texts()) {
            drawn |= prefix ? drawnText.starts_with(text) : drawnText == text;
        }
        Check(drawn == wanted, "\"" + text + (drawn ? "\" was drawn" : "\" was not drawn"));
    }

    // The listener gain OpenAL really has (the null device keeps a context).
    void ExpectMasterGain(double expected) {
        ALfloat gain = -1;
        alGetListenerf(AL_GAIN, &gain);
        Check(std::fabs(gain - expected) < 1e-4, "master gain is " + std::to_string(gain));
    }

    void ExpectWindow(const std::vector<std::string>& args) {
        int x = 0, y = 0;
        platform_.WindowPosition(x, y);
        Check(x == Int(args, 0) && y == Int(args, 1),
              "window at " + std::to_string(x) + "," + std::to_string(y));
    }

    std::ostream& report_;
    ScenarioWorkspace workspace_;
    ScriptedPlatform platform_;
    DrawRecorder recorder_;
    std::map<std::string, std::string> variables_;
    int lineNumber_ = 0;
    size_t boxesSeen_ = 0;
    bool started_ = false, finished_ = false, finalised_ = false;
    int exitCode_ = 0;
    bool skipQuietFrames_ = true;
    uint64_t framesAsked_ = 0;
    // Kept in memory until the end: a scenario may limit the size of the files the process writes.
    bool tracing_ = false;
    std::ostringstream trace_;

  public:
    std::string TraceText() const { return trace_.str(); }
};
} // namespace

int RunScenario(const std::string& path, const ScenarioOptions& options, std::ostream& report) {
    std::ifstream in(path);
    if (!in) {
        report << path << ": cannot be read\n";
        return 1;
    }
    return RunScenarioText(in, options, report);
}

int RunScenarioText(std::istream& in, const ScenarioOptions& options, std::ostream& report) {
    ScenarioRun run(options, report);
    std::string line;
    int lineNumber = 0;
    try {
        while (std::getline(in, line)) {
            ++lineNumber;
            std::vector<std::string> words = Words(line);
            if (words.empty() || words[0][0] == '#') {
                continue;
            }
            run.Execute(words, line, lineNumber);
        }
        run.Stop();
    } catch (const std::exception& error) {
        report << "line " << lineNumber << ": " << error.what() << "\n";
        ++run.failures;
    }
    if (options.skipQuietFrames) {
        report << "quiet frames: " << run.QuietSummary() << "\n";
    }
    if (!options.tracePath.empty()) {
        // Whatever limit the scenario left on the size of written files (prlimit) is lifted first.
        rlimit limit{};
        if (getrlimit(RLIMIT_FSIZE, &limit) == 0) {
            limit.rlim_cur = limit.rlim_max;
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::ofstream(options.tracePath, std::ios::trunc) << run.TraceText();
    }
    return run.failures;
}

namespace {
// A trace as its steps: a step's line, then its cells (indented).
struct TraceStep {
    std::string line;
    std::vector<std::string> cells;
};

std::vector<TraceStep> Steps(const std::string& trace) {
    std::vector<TraceStep> steps;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("    ") && !steps.empty()) {
            steps.back().cells.push_back(line.substr(4));
        } else {
            steps.push_back(TraceStep{line, {}});
        }
    }
    return steps;
}
} // namespace

std::string CompareTraces(const std::string& one, const std::string& other) {
    const std::vector<TraceStep> a = Steps(one), b = Steps(other);
    std::string report;
    int differing = 0;
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const TraceStep none{"(ended)", {}};
        const TraceStep& x = i < a.size() ? a[i] : none;
        const TraceStep& y = i < b.size() ? b[i] : none;
        if (x.line == y.line && x.cells == y.cells) {
            continue;
        }
        if (++differing > 5) {
            continue;
        }
        report += "  skipping quiet frames: " + x.line + "\n  every frame:           " + y.line + "\n";
        int cells = 0;
        for (size_t c = 0; c < std::max(x.cells.size(), y.cells.size()) && cells < 6; ++c) {
            const std::string p = c < x.cells.size() ? x.cells[c] : "(none)";
            const std::string q = c < y.cells.size() ? y.cells[c] : "(none)";
            if (p != q) {
                report += "    " + p + "  /  " + q + "\n";
                ++cells;
            }
        }
    }
    if (differing > 5) {
        report += "  and " + std::to_string(differing - 5) + " more steps\n";
    }
    return report;
}
