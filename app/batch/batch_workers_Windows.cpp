#include "Support/Win32/Support_System.h"
#include "app/batch/batch_workers.h"
#include "utf16.h"
#include <bit>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <windows.h>

namespace batch {
namespace {
// The task file's name reaches a worker through this variable; its fields are separated by NULs, which
// no name holds, and only the counts among them are read as numbers.
constexpr const wchar_t* TaskVariable = L"MORVANE_BATCH_WORKER";

std::string ReportFile(const std::string& spool, size_t action, bool succeeded) {
    return spool + std::to_string(action) + (succeeded ? ".ok" : ".failed");
}

bool WriteTask(const WorkerTask& task, const std::string& path) {
    std::string fields;
    auto add = [&](const std::string& field) { fields += field + '\0'; };
    add(std::to_string(task.number));
    add(task.helpers);
    add(task.spool);
    add(std::to_string(task.all.size()));
    for (const Action& action : task.all) {
        add(std::to_string(static_cast<int>(action.kind)));
        add(std::to_string(action.paths.size()));
        for (const std::string& path : action.paths) {
            add(path);
        }
    }
    add(std::to_string(task.own.size()));
    for (size_t action : task.own) {
        add(std::to_string(action));
    }
    std::ofstream out(System_Path(path), std::ios::binary);
    return static_cast<bool>(out.write(fields.data(), static_cast<std::streamsize>(fields.size())));
}

class Fields {
  public:
    explicit Fields(const std::string& bytes) : bytes_(bytes) {}
    std::string Text() {
        const size_t end = bytes_.find('\0', at_);
        if (end == std::string::npos) {
            throw std::runtime_error("the task file ends early");
        }
        std::string field = bytes_.substr(at_, end - at_);
        at_ = end + 1;
        return field;
    }
    size_t Number() { return static_cast<size_t>(std::stoull(Text())); }

  private:
    const std::string& bytes_;
    size_t at_ = 0;
};

WorkerTask ReadTask(const std::string& bytes) {
    Fields fields(bytes);
    WorkerTask task;
    task.number = fields.Number();
    task.helpers = fields.Text();
    task.spool = fields.Text();
    for (size_t count = fields.Number(); count > 0; --count) {
        Action action{static_cast<ActionKind>(fields.Number()), {}};
        for (size_t paths = fields.Number(); paths > 0; --paths) {
            action.paths.push_back(fields.Text());
        }
        task.all.push_back(std::move(action));
    }
    for (size_t count = fields.Number(); count > 0; --count) {
        task.own.push_back(fields.Number());
    }
    return task;
}

std::wstring ThisProgram() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}
} // namespace

void RedirectOutput(const std::string& out, const std::string& err) {
    // Binary: the parent passes the bytes on through its own stdout, which writes the line ends.
    _wfreopen(System_Path(out).c_str(), L"wb", stdout);
    _wfreopen(System_Path(err).c_str(), L"wb", stderr);
}

// This program again, as "--batch-worker", with the task in a file beside the workers' output.
WorkerProcess::WorkerProcess(const WorkerTask& task, const Body&) : own_(task.own), spool_(task.spool) {
    const std::string file = task.spool + "job-" + std::to_string(task.number) + ".task";
    if (!WriteTask(task, file)) {
        failure_ = "no task file for a worker could be written";
        return;
    }
    const std::wstring program = ThisProgram();
    // A Windows path holds no quote, so quoting it is enough.
    std::wstring commandLine = L"\"" + program + L"\" --batch-worker";
    SetEnvironmentVariableW(TaskVariable, win::widen(file).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    const BOOL ok = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &started);
    SetEnvironmentVariableW(TaskVariable, nullptr);
    if (!ok) {
        failure_ = "no worker process could be started: " + win::error_text(GetLastError());
        return;
    }
    CloseHandle(started.hThread);
    process_ = reinterpret_cast<intptr_t>(started.hProcess);
}

WorkerProcess::~WorkerProcess() {
    if (process_ != -1) {
        WaitForSingleObject(reinterpret_cast<HANDLE>(process_), INFINITE);
        CloseHandle(reinterpret_cast<HANDLE>(process_));
    }
}

// The console's Ctrl-C and closing reach every process on it, the workers included.
void WorkerProcess::Interrupt(int) {}

std::vector<WorkerNews> WaitForNews(std::vector<WorkerProcess>& workers) {
    std::vector<HANDLE> processes;
    for (const WorkerProcess& worker : workers) {
        processes.push_back(reinterpret_cast<HANDLE>(worker.process_));
    }
    WaitForMultipleObjects(static_cast<DWORD>(processes.size()), processes.data(), FALSE, 100);
    std::vector<WorkerNews> news(workers.size());
    for (size_t i = 0; i < workers.size(); ++i) {
        WorkerProcess& worker = workers[i];
        // Asked before the reports are read, so none written before it ended is missed.
        const bool ended = WaitForSingleObject(processes[i], 0) == WAIT_OBJECT_0;
        for (; worker.reported_ < worker.own_.size(); ++worker.reported_) {
            const size_t action = worker.own_[worker.reported_];
            std::error_code error;
            if (std::filesystem::exists(System_Path(ReportFile(worker.spool_, action, true)), error)) {
                news[i].finished.emplace_back(action, true);
            } else if (std::filesystem::exists(System_Path(ReportFile(worker.spool_, action, false)),
                                               error)) {
                news[i].finished.emplace_back(action, false);
            } else {
                break;
            }
        }
        news[i].ended = ended;
    }
    return news;
}

std::optional<StartedWorker> TakeWorkerTask() {
    const wchar_t* file = _wgetenv(TaskVariable);
    if (file == nullptr) {
        return std::nullopt;
    }
    const std::string path = win::narrow(file);
    SetEnvironmentVariableW(TaskVariable, nullptr);
    std::ifstream in(System_Path(path), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    try {
        WorkerTask task = ReadTask(bytes);
        const std::string spool = task.spool;
        return StartedWorker{std::move(task), [spool](size_t action, bool succeeded) {
                                 std::ofstream(System_Path(ReportFile(spool, action, succeeded)));
                             }};
    } catch (const std::exception& error) {
        std::fprintf(stderr, "morvane-radio-tuner: %s: %s\n", path.c_str(), error.what());
        return std::nullopt;
    }
}

unsigned CoreCount() {
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) && process != 0) {
        return static_cast<unsigned>(std::popcount(static_cast<unsigned long long>(process)));
    }
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? info.dwNumberOfProcessors : 1;
}
} // namespace batch
