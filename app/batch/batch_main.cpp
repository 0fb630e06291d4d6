#include "app/batch/batch_main.h"
#include "Object/Object_Main.h"
#include "Runner/Runner_Form.h"
#include "Runner/Runner_Log.h"
#include "app/Tool_Code.h"
#include "app/actions/interrupt_signals.h"
#include "app/batch/batch_actions.h"
#include "app/batch/batch_arguments.h"
#include "app/batch/batch_console.h"
#include "app/batch/batch_helpers.h"
#include "app/batch/batch_jobs.h"
#include "app/batch/batch_work_area.h"
#include "platform/headless/Headless_Platform.h"
#include <cstdio>

namespace batch {
namespace {
// Once interrupted, the actions not begun are skipped, each with its line, so the user sees which.
bool RunUnlessInterrupted(const Action& action) {
    if (tool::Interrupted()) {
        std::fprintf(stderr, "%s: skipped (interrupted)\n", Describe(action).c_str());
        return false;
    }
    return RunAction(action);
}

int RunActions(const Options& options, const std::string& saveArea) {
    tool::Frame frame(GlobalObject(), GlobalObject(), "Batch");
    std::string helpers = PrepareHelpers(saveArea);
    if (helpers.empty()) {
        return 1;
    }
    unsigned jobs = options.jobs > 0 ? options.jobs : CoreCount();
    const bool allSucceeded = RunInJobs(options.actions, jobs, helpers, RunUnlessInterrupted);
    // As a shell reports a program ended by the signal.
    return tool::Interrupted() ? 128 + tool::Interrupted() : allSucceeded ? 0 : 1;
}

// The runtime without a window, its log in its file: the terminal gets progress and reasons only.
int RunWithoutWindow(const EmbeddedGame& game, const std::function<int()>& work) {
    Runner_SetLogToStderr(false);
    HeadlessPlatform platform;
    return Runner_RunWithoutWindow(RunnerConfig{}, game, platform, work);
}
} // namespace

int BatchMain(const std::vector<std::string>& arguments, const EmbeddedGame& game) {
    // Before the first file is made (the working folder) and until the last is removed.
    tool::InterruptSignals signals;
    BatchConsole console;
    if (std::optional<StartedWorker> worker = TakeWorkerTask()) {
        return RunWithoutWindow(game, [&] {
            tool::Frame frame(GlobalObject(), GlobalObject(), "Batch");
            RunWorkerTask(worker->task, worker->report, RunUnlessInterrupted);
            return 0;
        });
    }
    Options options = ParseOptions(ExpandWildcards(arguments));
    switch (options.mode) {
    case Options::Mode::Help:
        std::fputs(UsageText, stdout);
        return 0;
    case Options::Mode::Version:
        std::printf("morvane-radio-tuner %s\n", MORVANE_VERSION);
        return 0;
    case Options::Mode::Usage:
        std::fprintf(stderr, "morvane-radio-tuner: %s\n\n%s", options.error.c_str(), UsageText);
        return 2;
    case Options::Mode::Run:
        break;
    }
    PrivateWorkArea area;
    if (!area.Ready()) {
        std::fprintf(stderr, "morvane-radio-tuner: cannot make a working folder in %s\n",
                     area.Parent().c_str());
        return 1;
    }
    return RunWithoutWindow(game, [&] { return RunActions(options, area.Parent()); });
}
} // namespace batch
