#include "Shell_Lifeline.h"
#include "Shell_Process.h"
#include <mutex>
#include <windows.h>

namespace shell {
namespace {
// A window cuts the lifeline from its own thread while a line starts on another.
std::mutex jobLock;
HANDLE job = nullptr;
} // namespace

// Processes started by a process in the job are in it too, background interpreters included.
void HoldLifeline() {
    std::lock_guard lock(jobLock);
    if (job != nullptr) {
        return;
    }
    job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job != nullptr &&
        !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        CloseHandle(job);
        job = nullptr;
    }
}

void CutLifeline() {
    std::lock_guard lock(jobLock);
    if (job != nullptr) {
        TerminateJobObject(job, 128 + 9);
        CloseHandle(job);
        job = nullptr;
    }
}

int WatchLifeline() {
    return -1;
}

// The interpreter joins the job before its first instruction runs.
bool JoinLifeline(void* process) {
    std::lock_guard lock(jobLock);
    return job != nullptr && AssignProcessToJobObject(job, static_cast<HANDLE>(process));
}
} // namespace shell
