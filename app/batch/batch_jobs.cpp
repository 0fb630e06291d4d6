#include "app/batch/batch_jobs.h"
#include "Support/Win32/Support_FileM.h"
#include "app/batch/batch_actions.h"
#include "app/batch/batch_helpers.h"
#include "app/batch/batch_interrupt.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace batch {
namespace {
namespace fs = std::filesystem;

// The actions of each container folder, in the order of the folders' first actions.
std::vector<std::vector<size_t>> GroupByFolder(const std::vector<Action>& actions) {
    std::vector<std::vector<size_t>> groups;
    std::map<std::string, size_t> groupOfFolder;
    for (size_t i = 0; i < actions.size(); ++i) {
        std::string folder = fs::absolute(actions[i].paths[0]).lexically_normal().parent_path().string();
        auto [place, added] = groupOfFolder.try_emplace(folder, groups.size());
        if (added) {
            groups.emplace_back();
        }
        groups[place->second].push_back(i);
    }
    return groups;
}

enum class Outcome { Pending, Succeeded, Failed };

struct Worker {
    pid_t pid = -1;
    int reports = -1; // read end: a line "INDEX 0|1" per finished action
    std::vector<size_t> actions;
    std::string pending; // a report line not yet complete
};

class Jobs {
  public:
    Jobs(const std::vector<Action>& actions, const std::string& helpers,
         const std::function<bool(const Action&)>& run)
        : actions_(actions), helpers_(helpers), run_(run), outcomes_(actions.size(), Outcome::Pending),
          spool_(FileM_SaveArea() + "jobs/") {
        std::error_code error;
        fs::create_directories(spool_, error);
    }

    bool Run(std::vector<std::vector<size_t>> groups, unsigned jobs) {
        size_t nextGroup = 0;
        while (head_ < actions_.size()) {
            while (workers_.size() < jobs && nextGroup < groups.size()) {
                Start(nextGroup, std::move(groups[nextGroup]));
                ++nextGroup;
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
    std::string OutputFile(size_t action, const char* stream) const {
        return spool_ + std::to_string(action) + stream;
    }

    [[noreturn]] void WorkerMain(size_t number, const std::vector<size_t>& actions, int reports) {
        const std::string appData = spool_ + "job-" + std::to_string(number);
        setenv("APPDATA", appData.c_str(), 1);
        setenv("LOCALAPPDATA", appData.c_str(), 1);
        const std::string saveArea = FileM_SaveAreaIn(appData);
        FileM_SetSaveArea(saveArea);
        const bool ready = LinkHelpers(helpers_, saveArea + "lib/");
        for (size_t action : actions) {
            std::fflush(stdout);
            for (auto [fd, stream] : {std::pair{STDOUT_FILENO, ".out"}, std::pair{STDERR_FILENO, ".err"}}) {
                int file = ::open(OutputFile(action, stream).c_str(),
                                  O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
                ::dup2(file, fd);
                ::close(file);
            }
            bool succeeded = ready && run_(actions_[action]);
            if (!ready) {
                std::fprintf(stderr,
                             "%s ...\n%s: the helper programs could not be linked into %slib\n%s: failed\n",
                             Describe(actions_[action]).c_str(), actions_[action].paths[0].c_str(),
                             saveArea.c_str(), Describe(actions_[action]).c_str());
            }
            std::fflush(stdout);
            std::string line = std::to_string(action) + (succeeded ? " 1\n" : " 0\n");
            if (::write(reports, line.data(), line.size()) < 0) {
                break;
            }
        }
        std::fflush(stdout);
        ::_exit(0); // the parent's destructors and exit handlers are not this process's to run
    }

    void Start(size_t number, std::vector<size_t> actions) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            GiveUp(actions, "no pipe to a worker could be made");
            return;
        }
        std::fflush(stdout);
        pid_t pid = ::fork();
        if (pid == 0) {
            ::close(ends[0]);
            WorkerMain(number, actions, ends[1]);
        }
        ::close(ends[1]);
        if (pid < 0) {
            ::close(ends[0]);
            GiveUp(actions, "no worker process could be started");
            return;
        }
        workers_.push_back(Worker{pid, ends[0], std::move(actions), ""});
    }

    // Actions no worker will run any more: a reason each, in their own output.
    void GiveUp(const std::vector<size_t>& actions, const char* reason) {
        for (size_t action : actions) {
            if (outcomes_[action] != Outcome::Pending) {
                continue;
            }
            std::string what = Describe(actions_[action]);
            if (std::FILE* err = std::fopen(OutputFile(action, ".err").c_str(), "a")) {
                std::fprintf(err, "%s: %s\n%s: failed\n", actions_[action].paths[0].c_str(), reason,
                             what.c_str());
                std::fclose(err);
            }
            outcomes_[action] = Outcome::Failed;
        }
    }

    // Until a worker reports or ends, or a moment has passed for the output of the running action.
    void Wait() {
        // A signal sent to this process alone reaches the workers too, so each undoes its action.
        if (Interrupted() && !forwarded_) {
            for (const Worker& worker : workers_) {
                ::kill(worker.pid, Interrupted());
            }
            forwarded_ = true;
        }
        std::vector<pollfd> fds;
        for (const Worker& worker : workers_) {
            fds.push_back(pollfd{worker.reports, POLLIN, 0});
        }
        if (::poll(fds.data(), fds.size(), 100) <= 0) {
            return;
        }
        for (size_t i = fds.size(); i-- > 0;) {
            if (fds[i].revents != 0 && !Read(workers_[i])) {
                Finish(i);
            }
        }
    }

    bool Read(Worker& worker) {
        char buffer[256];
        ssize_t got = ::read(worker.reports, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            return true;
        }
        if (got <= 0) {
            return false;
        }
        worker.pending.append(buffer, size_t(got));
        for (size_t end; (end = worker.pending.find('\n')) != std::string::npos;) {
            size_t action = 0;
            int succeeded = 0;
            if (std::sscanf(worker.pending.c_str(), "%zu %d", &action, &succeeded) == 2 &&
                action < outcomes_.size()) {
                outcomes_[action] = succeeded ? Outcome::Succeeded : Outcome::Failed;
            }
            worker.pending.erase(0, end + 1);
        }
        return true;
    }

    void Finish(size_t index) {
        Worker worker = std::move(workers_[index]);
        workers_.erase(workers_.begin() + long(index));
        ::close(worker.reports);
        while (::waitpid(worker.pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        GiveUp(worker.actions, "its worker process ended before the action did");
    }

    // The first unfinished action's output as it grows, then that of each action finished after it.
    void PassOnOutput() {
        while (head_ < actions_.size()) {
            Copy(OutputFile(head_, ".out"), STDOUT_FILENO, outDone_);
            Copy(OutputFile(head_, ".err"), STDERR_FILENO, errDone_);
            if (outcomes_[head_] == Outcome::Pending) {
                return;
            }
            ++head_;
            outDone_ = errDone_ = 0;
        }
    }

    static void Copy(const std::string& path, int to, off_t& done) {
        int from = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (from < 0) {
            return;
        }
        char buffer[4096];
        for (ssize_t got; (got = ::pread(from, buffer, sizeof buffer, done)) > 0; done += got) {
            for (ssize_t written = 0; written < got;) {
                ssize_t now = ::write(to, buffer + written, size_t(got - written));
                if (now <= 0) {
                    break;
                }
                written += now;
            }
        }
        ::close(from);
    }

    const std::vector<Action>& actions_;
    const std::string& helpers_;
    const std::function<bool(const Action&)>& run_;
    std::vector<Outcome> outcomes_;
    std::string spool_;
    std::vector<Worker> workers_;
    size_t head_ = 0;
    bool forwarded_ = false;
    off_t outDone_ = 0;
    off_t errDone_ = 0;
};
} // namespace

unsigned CoreCount() {
    cpu_set_t set;
    if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) {
        return unsigned(CPU_COUNT(&set));
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

bool RunInJobs(const std::vector<Action>& actions, unsigned jobs, const std::string& helpers,
               const std::function<bool(const Action&)>& run) {
    std::vector<std::vector<size_t>> groups = GroupByFolder(actions);
    if (jobs <= 1 || groups.size() <= 1) {
        bool all = true;
        for (const Action& action : actions) {
            all = run(action) && all;
        }
        return all;
    }
    return Jobs(actions, helpers, run).Run(std::move(groups), jobs);
}
} // namespace batch
