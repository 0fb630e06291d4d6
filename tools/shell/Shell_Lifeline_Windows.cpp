#include "Shell_Lifeline.h"
#include "Shell_Process.h"
#include <windows.h>

namespace shell {
namespace {
HANDLE job = nullptr;
} // namespace

// Processes started by a process in the job are in it too, background interpreters included.
void HoldLifeline() {
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

int WatchLifeline() {
    return -1;
}

// The interpreter joins the job before its first instruction runs.
bool JoinLifeline(void* process) {
    return job != nullptr && AssignProcessToJobObject(job, static_cast<HANDLE>(process));
}
} // namespace shell
