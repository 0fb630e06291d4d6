// The worker processes of --jobs, as the system makes them: POSIX forks this process, whose child runs
// its actions with everything already loaded; Windows starts this program again, and the new process
// finds its task (batch_workers_Windows.cpp). What a worker does is the same on both (batch_jobs.cpp).
#pragma once
#include "app/batch/batch_options.h"
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace batch {
// What one worker is given: every action of the batch (for their names), the ones that are its own,
// where the helpers are linked from and the folder its output and reports go to.
struct WorkerTask {
    size_t number = 0;
    std::vector<Action> all;
    std::vector<size_t> own;
    std::string helpers;
    std::string spool;
};

// Sent from inside a worker when one of its actions has finished: the action, whether it succeeded.
using WorkerReport = std::function<void(size_t, bool)>;

// The worker's stdout and stderr sent to these files from now on.
void RedirectOutput(const std::string& out, const std::string& err);

// What a worker has told since it was last asked.
struct WorkerNews {
    std::vector<std::pair<size_t, bool>> finished; // action, succeeded
    bool ended = false;
};

class WorkerProcess {
  public:
    using Body = std::function<void(const WorkerTask&, const WorkerReport&)>;
    // POSIX: the child runs `body` and ends. Windows: this program, started again, runs it through
    // RunWorkerTask.
    WorkerProcess(const WorkerTask& task, const Body& body);
    ~WorkerProcess();
    // A move swaps: what was here goes with the other one.
    WorkerProcess(WorkerProcess&& other) noexcept { Swap(other); }
    WorkerProcess& operator=(WorkerProcess&& other) noexcept {
        Swap(other);
        return *this;
    }
    WorkerProcess(const WorkerProcess&) = delete;
    WorkerProcess& operator=(const WorkerProcess&) = delete;
    // Empty when it started; else why not.
    const std::string& Failure() const { return failure_; }
    const std::vector<size_t>& Own() const { return own_; }
    // Passes on a signal this process caught (Windows' console reaches every worker by itself).
    void Interrupt(int signal);

  private:
    friend std::vector<WorkerNews> WaitForNews(std::vector<WorkerProcess>& workers);
    void Swap(WorkerProcess& other) noexcept {
        own_.swap(other.own_);
        spool_.swap(other.spool_);
        failure_.swap(other.failure_);
        std::swap(process_, other.process_);
        std::swap(channel_, other.channel_);
        pending_.swap(other.pending_);
        std::swap(reported_, other.reported_);
    }
    std::vector<size_t> own_;
    std::string spool_;
    std::string failure_;
    intptr_t process_ = -1; // a process id, or a process HANDLE
    intptr_t channel_ = -1; // POSIX: the read end of the worker's report pipe
    std::string pending_;   // POSIX: a report line not yet complete
    size_t reported_ = 0;   // Windows: how many of its own actions have reported (they run in order)
};

// Waits until a worker has news or a moment has passed; the news of each worker, in their order.
std::vector<WorkerNews> WaitForNews(std::vector<WorkerProcess>& workers);

// In a process started as a worker (Windows), its task and the way it reports; nothing in any other
// (a forked POSIX worker never passes through here).
struct StartedWorker {
    WorkerTask task;
    WorkerReport report;
};
std::optional<StartedWorker> TakeWorkerTask();

// The number of cores this process may run on.
unsigned CoreCount();
} // namespace batch
