#include "app/actions/interrupt_signals.h"
#include <csignal>
#include <string>
#include <vector>
#include <windows.h>

namespace tool {
namespace {
volatile LONG caught = 0;
// A job holding this process and every process it starts, so that an interruption can find them.
HANDLE started = nullptr;

std::wstring ProgramOf(HANDLE process) {
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (!QueryFullProcessImageNameW(process, 0, path.data(), &size)) {
        return {};
    }
    path.resize(size);
    CharLowerBuffW(path.data(), size);
    return path;
}

// The interpreter and the helpers run without a console, so they hear no Ctrl-C: they are ended at
// once, as a terminal's Ctrl-C ends them on POSIX. Workers are this program and put back their own
// action.
void EndStartedPrograms() {
    std::vector<ULONG_PTR> room(4096);
    auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(room.data());
    if (started == nullptr ||
        !QueryInformationJobObject(started, JobObjectBasicProcessIdList, list,
                                   static_cast<DWORD>(room.size() * sizeof(ULONG_PTR)), nullptr)) {
        return;
    }
    const std::wstring self = ProgramOf(GetCurrentProcess());
    for (DWORD i = 0; i < list->NumberOfProcessIdsInList; ++i) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                     static_cast<DWORD>(list->ProcessIdList[i]));
        if (process == nullptr) {
            continue;
        }
        if (ProgramOf(process) != self) {
            TerminateProcess(process, STATUS_CONTROL_C_EXIT);
        }
        CloseHandle(process);
    }
}

// Runs on a thread of its own. Ctrl-C and Ctrl-Break count as SIGINT. Closing the console, logging off
// and shutting down count as SIGTERM, and end the process as soon as this handler returns: so it never
// returns, and the main thread puts back the action under way and ends the process itself (the system
// gives it a few seconds).
BOOL WINAPI OnControl(DWORD event) {
    const bool ending =
        event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
    InterlockedCompareExchange(&caught, ending ? SIGTERM : SIGINT, 0);
    EndStartedPrograms();
    if (ending) {
        Sleep(INFINITE);
    }
    return TRUE;
}
} // namespace

InterruptSignals::InterruptSignals() {
    started = CreateJobObjectW(nullptr, nullptr);
    // A process already in a job that allows no other (before Windows 8) cannot join: its helpers then
    // finish their line.
    if (started != nullptr && !AssignProcessToJobObject(started, GetCurrentProcess())) {
        CloseHandle(started);
        started = nullptr;
    }
    SetConsoleCtrlHandler(OnControl, TRUE);
}

InterruptSignals::~InterruptSignals() {
    SetConsoleCtrlHandler(OnControl, FALSE);
    if (started != nullptr) {
        CloseHandle(started);
        started = nullptr;
    }
}

int Interrupted() {
    return static_cast<int>(caught);
}

void Interrupt(int signal) {
    InterlockedCompareExchange(&caught, signal, 0);
}
} // namespace tool
