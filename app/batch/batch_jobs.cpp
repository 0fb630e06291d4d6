#include "app/batch/batch_jobs.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "app/actions/interrupt_signals.h"
#include "app/batch/batch_actions.h"
#include "app/batch/batch_helpers.h"
#include "app/batch/batch_workers.h"
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>

namespace batch {
namespace {
namespace fs = std::filesystem;

// Actions that share a file one of them writes (a container, whose actions always keep their order; an
// export that a later replace reads) form one group and run in the order given; groups, in the order of
// their first actions, run side by side, containers of one folder included. Audio that replaces only
// read is no tie.
std::vector<std::vector<size_t>> GroupBySharedFiles(const std::vector<Action>& actions) {
    std::vector<size_t> parent(actions.size());
    std::iota(parent.begin(), parent.end(), size_t{0});
    auto root = [&](size_t i) {
        while (parent[i] != i) {
            i = parent[i] = parent[parent[i]];
        }
        return i;
    };
    struct Use {
        size_t action;
        bool writes;
    };
    std::map<std::string, std::vector<Use>> uses;
    for (size_t i = 0; i < actions.size(); ++i) {
        for (size_t p = 0; p < actions[i].paths.size(); ++p) {
            const bool writes = p == 0 || actions[i].kind == ActionKind::Export;
            uses[System_ResolvedPath(actions[i].paths[p])].push_back({i, writes});
        }
    }
    for (const auto& [file, users] : uses) {
        if (std::any_of(users.begin(), users.end(), [](const Use& use) { return use.writes; })) {
            for (const Use& use : users) {
                parent[root(use.action)] = root(users.front().action);
            }
        }
    }
    std::vector<std::vector<size_t>> groups;
    std::map<size_t, size_t> groupOfRoot;
    for (size_t i = 0; i < actions.size(); ++i) {
        auto [place, added] = groupOfRoot.try_emplace(root(i), groups.size());
        if (added) {
            groups.emplace_back();
        }
        groups[place->second].push_back(i);
    }
    return groups;
}

// The next groups for one worker, their actions in order: a share of what is left that shrinks as it
// runs out, down to one group at the end, where a long one would keep the other workers waiting. A
// worker for each group cost a tenth of a station's replaces in forks and process starts.
std::vector<size_t> TakeShare(const std::vector<std::vector<size_t>>& groups, size_t& next, unsigned jobs) {
    const size_t left = groups.size() - next;
    const size_t count = std::max<size_t>(1, (left + 2 * jobs - 1) / (2 * jobs));
    std::vector<size_t> share;
    for (const size_t end = next + count; next < end; ++next) {
        share.insert(share.end(), groups[next].begin(), groups[next].end());
    }
    return share;
}

std::string OutputFile(const std::string& spool, size_t action, const char* stream) {
    return spool + std::to_string(action) + stream;
}

enum class Outcome { Pending, Succeeded, Failed };

class Jobs {
  public:
    Jobs(const std::vector<Action>& actions, const std::string& helpers,
         const std::function<bool(const Action&)>& run)
        : actions_(actions), helpers_(helpers), run_(run), outcomes_(actions.size(), Outcome::Pending),
          spool_(FileM_SaveArea() + "jobs/") {
        std::error_code error;
        fs::create_directories(System_Path(spool_), error);
    }

    bool Run(const std::vector<std::vector<size_t>>& groups, unsigned jobs) {
        size_t nextGroup = 0, started = 0;
        while (head_ < actions_.size()) {
            while (workers_.size() < jobs && nextGroup < groups.size()) {
                Start(started++, TakeShare(groups, nextGroup, jobs));
            }
            Wait();
            PassOnOutput();
        }
        bool all = true;
        for (Outcome outcome : outcomes_) {
            all = all && outcome == Outcome::Succeeded;
        }
        return all;
    }

  private:
    void Start(size_t number, std::vector<size_t> actions) {
        std::fflush(stdout);
        WorkerProcess worker(WorkerTask{number, actions_, std::move(actions), helpers_, spool_},
                             [this](const WorkerTask& task, const WorkerReport& report) {
                                 RunWorkerTask(task, report, run_);
                             });
        if (!worker.Failure().empty()) {
            GiveUp(worker.Own(), worker.Failure().c_str());
            return;
        }
        workers_.push_back(std::move(worker));
    }

    // Actions no worker will run any more: a reason each, in their own output.
    void GiveUp(const std::vector<size_t>& actions, const char* reason) {
        for (size_t action : actions) {
            if (outcomes_[action] != Outcome::Pending) {
                continue;
            }
            std::string what = Describe(actions_[action]);
            std::ofstream err(System_Path(OutputFile(spool_, action, ".err")), std::ios::app);
            err << actions_[action].paths[0] << ": " << reason << '\n' << what << ": failed\n";
            outcomes_[action] = Outcome::Failed;
        }
    }

    // Until a worker reports or ends, or a moment has passed for the output of the running action.
    void Wait() {
        // A signal sent to this process alone reaches the workers too, so each undoes its action.
        if (tool::Interrupted() && !forwarded_) {
            for (WorkerProcess& worker : workers_) {
                worker.Interrupt(tool::Interrupted());
            }
            forwarded_ = true;
        }
        std::vector<WorkerNews> news = WaitForNews(workers_);
        for (size_t i = news.size(); i-- > 0;) {
            for (auto [action, succeeded] : news[i].finished) {
                if (action < outcomes_.size()) {
                    outcomes_[action] = succeeded ? Outcome::Succeeded : Outcome::Failed;
                }
            }
            if (news[i].ended) {
                GiveUp(workers_[i].Own(), "its worker process ended before the action did");
                workers_.erase(workers_.begin() + long(i));
            }
        }
    }

    // The first unfinished action's output as it grows, then that of each action finished after it.
    void PassOnOutput() {
        while (head_ < actions_.size()) {
            Copy(OutputFile(spool_, head_, ".out"), stdout, outDone_);
            Copy(OutputFile(spool_, head_, ".err"), stderr, errDone_);
            if (outcomes_[head_] == Outcome::Pending) {
                return;
            }
            ++head_;
            outDone_ = errDone_ = 0;
        }
    }

    static void Copy(const std::string& path, std::FILE* to, uint64_t& done) {
        std::ifstream from(System_Path(path), std::ios::binary);
        if (!from || !from.seekg(static_cast<std::streamoff>(done))) {
            return;
        }
        char buffer[4096];
        while (from.read(buffer, sizeof buffer) || from.gcount() > 0) {
            const size_t got = static_cast<size_t>(from.gcount());
            std::fwrite(buffer, 1, got, to);
            done += got;
        }
        std::fflush(to);
    }

    const std::vector<Action>& actions_;
    const std::string& helpers_;
    const std::function<bool(const Action&)>& run_;
    std::vector<Outcome> outcomes_;
    std::string spool_;
    std::vector<WorkerProcess> workers_;
    size_t head_ = 0;
    bool forwarded_ = false;
    uint64_t outDone_ = 0;
    uint64_t errDone_ = 0;
};
} // namespace

void RunWorkerTask(const WorkerTask& task, const WorkerReport& report,
                   const std::function<bool(const Action&)>& run) {
    const std::string appData = task.spool + "job-" + std::to_string(task.number);
    System_SetEnvironment("APPDATA", appData);
    System_SetEnvironment("LOCALAPPDATA", appData);
    const std::string saveArea = FileM_SaveAreaIn(appData);
    FileM_SetSaveArea(saveArea);
    const bool ready = LinkHelpers(task.helpers, saveArea + "lib/");
    for (size_t action : task.own) {
        std::fflush(stdout);
        std::fflush(stderr);
        RedirectOutput(OutputFile(task.spool, action, ".out"), OutputFile(task.spool, action, ".err"));
        const std::string what = Describe(task.all[action]);
        bool succeeded = ready && run(task.all[action]);
        if (!ready) {
            std::fprintf(stderr,
                         "%s ...\n%s: the helper programs could not be linked into %slib\n%s: failed\n",
                         what.c_str(), task.all[action].paths[0].c_str(), saveArea.c_str(), what.c_str());
        }
        std::fflush(stdout);
        std::fflush(stderr);
        report(action, succeeded);
    }
}

bool RunInJobs(const std::vector<Action>& actions, unsigned jobs, const std::string& helpers,
               const std::function<bool(const Action&)>& run) {
    std::vector<std::vector<size_t>> groups = GroupBySharedFiles(actions);
    if (jobs <= 1 || groups.size() <= 1) {
        bool all = true;
        for (const Action& action : actions) {
            all = run(action) && all;
        }
        return all;
    }
    return Jobs(actions, helpers, run).Run(groups, jobs);
}
} // namespace batch
