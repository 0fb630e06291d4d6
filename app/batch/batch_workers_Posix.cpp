#include "app/batch/batch_workers.h"
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace batch {
void RedirectOutput(const std::string& out, const std::string& err) {
    for (auto [fd, path] : {std::pair{STDOUT_FILENO, &out}, std::pair{STDERR_FILENO, &err}}) {
        int file = ::open(path->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ::dup2(file, fd);
        ::close(file);
    }
}

WorkerProcess::WorkerProcess(const WorkerTask& task, const Body& body) : own_(task.own), spool_(task.spool) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        failure_ = "no pipe to a worker could be made";
        return;
    }
    const pid_t parent = ::getpid();
    pid_t pid = ::fork();
    if (pid == 0) {
        // A worker ends with the batch, however the batch ends: it holds the helpers' lifeline too.
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent) {
            ::_exit(1);
        }
        ::close(ends[0]);
        // A line "INDEX 0|1" through the pipe the parent reads. A parent that is gone has nobody to tell;
        // the worker's later actions still undo themselves.
        body(task, [fd = ends[1]](size_t action, bool succeeded) {
            std::string line = std::to_string(action) + (succeeded ? " 1\n" : " 0\n");
            if (::write(fd, line.data(), line.size()) < 0) {
                return;
            }
        });
        std::fflush(stdout);
        ::_exit(0); // the parent's destructors and exit handlers are not this process's to run
    }
    ::close(ends[1]);
    if (pid < 0) {
        ::close(ends[0]);
        failure_ = "no worker process could be started";
        return;
    }
    process_ = pid;
    channel_ = ends[0];
}

WorkerProcess::~WorkerProcess() {
    if (channel_ >= 0) {
        ::close(static_cast<int>(channel_));
    }
    if (process_ > 0) {
        while (::waitpid(static_cast<pid_t>(process_), nullptr, 0) < 0 && errno == EINTR) {
        }
    }
}

void WorkerProcess::Interrupt(int signal) {
    if (process_ > 0) {
        ::kill(static_cast<pid_t>(process_), signal);
    }
}

namespace {
// The worker's report lines read so far; false at the end of its pipe (it ended).
bool ReadReports(intptr_t channel, std::string& pending, WorkerNews& news) {
    char buffer[256];
    ssize_t got = ::read(static_cast<int>(channel), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
        return true;
    }
    if (got <= 0) {
        return false;
    }
    pending.append(buffer, size_t(got));
    for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
        size_t action = 0;
        int succeeded = 0;
        if (std::sscanf(pending.c_str(), "%zu %d", &action, &succeeded) == 2) {
            news.finished.emplace_back(action, succeeded != 0);
        }
        pending.erase(0, end + 1);
    }
    return true;
}
} // namespace

std::vector<WorkerNews> WaitForNews(std::vector<WorkerProcess>& workers) {
    std::vector<WorkerNews> news(workers.size());
    std::vector<pollfd> fds;
    for (const WorkerProcess& worker : workers) {
        fds.push_back(pollfd{static_cast<int>(worker.channel_), POLLIN, 0});
    }
    if (::poll(fds.data(), fds.size(), 100) <= 0) {
        return news;
    }
    for (size_t i = 0; i < fds.size(); ++i) {
        if (fds[i].revents != 0) {
            news[i].ended = !ReadReports(workers[i].channel_, workers[i].pending_, news[i]);
        }
    }
    return news;
}

std::optional<StartedWorker> TakeWorkerTask() {
    return std::nullopt;
}

unsigned CoreCount() {
    cpu_set_t set;
    if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) {
        return unsigned(CPU_COUNT(&set));
    }
    return std::max(1u, std::thread::hardware_concurrency());
}
} // namespace batch
