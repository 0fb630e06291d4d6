// A named pipe named after the lock's folder, so a window with another save area is another window. The
// pipe's default security lets only its creator's user (and the system) write to it.
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include "app/desktop/single_window.h"
#include "app/desktop/single_window_system.h"
#include "utf16.h"
#include <cstdio>
#include <cwctype>
#include <filesystem>
#include <memory>
#include <windows.h>

namespace single_window {
namespace {
// Closed when this goes; INVALID_HANDLE_VALUE and null both mean none.
struct OwnedHandle {
    HANDLE handle = INVALID_HANDLE_VALUE;
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE h) : handle(h) {}
    ~OwnedHandle() {
        if (Valid())
            CloseHandle(handle);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    bool Valid() const { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
};
// Open (not inherited, so no helper program holds the lock) until the process ends.
OwnedHandle windowLock;

// The save area the runtime will use: %APPDATA% (or the known folder) + the game name.
std::filesystem::path Folder() {
    return System_Path(FileM_DefaultAppData()) / "Morvane_Radio_Tuner";
}

// A pipe's name holds no backslash and is not case-sensitive: the folder's name, folded and hashed.
std::wstring PipeName() {
    const std::wstring folder = Folder().native();
    uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (wchar_t unit : folder) {
        hash = (hash ^ uint64_t(std::towlower(wint_t(unit)))) * 1099511628211ull;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return L"\\\\.\\pipe\\morvane-radio-tuner-" + win::widen(digits);
}

// Reads or writes all of `size` bytes of an overlapped handle within `millis`; gives up (and cancels)
// after that. `done` gets how many went through.
bool Transfer(HANDLE pipe, bool write, void* data, DWORD size, DWORD millis, DWORD& done) {
    OwnedHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.handle;
    done = 0;
    if (!event.Valid()) {
        return false;
    }
    const BOOL started = write ? WriteFile(pipe, data, size, nullptr, &overlapped)
                               : ReadFile(pipe, data, size, nullptr, &overlapped);
    if (!started && GetLastError() != ERROR_IO_PENDING) {
        return false;
    }
    if (WaitForSingleObject(event.handle, millis) != WAIT_OBJECT_0) {
        CancelIo(pipe);
        GetOverlappedResult(pipe, &overlapped, &done, TRUE);
        return false;
    }
    return GetOverlappedResult(pipe, &overlapped, &done, FALSE) != 0;
}

// Starts waiting for the next start; the event is set once one connects.
bool AwaitClient(HANDLE pipe, OVERLAPPED& overlapped) {
    ResetEvent(overlapped.hEvent);
    if (ConnectNamedPipe(pipe, &overlapped)) {
        return SetEvent(overlapped.hEvent) != 0;
    }
    switch (GetLastError()) {
    case ERROR_IO_PENDING:
        return true;
    case ERROR_PIPE_CONNECTED: // connected between creating and waiting
        return SetEvent(overlapped.hEvent) != 0;
    default:
        return false;
    }
}
} // namespace

// The pipe goes first, its wait for a start cancelled and over before the event and this go.
struct Listener::System {
    OVERLAPPED overlapped{};
    OwnedHandle connected;
    OwnedHandle pipe;
    ~System() {
        DWORD ignored = 0;
        if (pipe.Valid() && CancelIoEx(pipe.handle, &overlapped)) {
            GetOverlappedResult(pipe.handle, &overlapped, &ignored, TRUE);
        }
    }
};

bool Claim() {
    if (!windowLock.Valid()) {
        const std::filesystem::path folder = Folder();
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        windowLock.handle = CreateFileW((folder / "window.lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    // Without a lock file there is nothing to go by: let the window run.
    OVERLAPPED whole{};
    return !windowLock.Valid() ||
           LockFileEx(windowLock.handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                      &whole);
}

// The message, then one byte back. The window may take the foreground from this start, which the
// user just started and so may give it away.
bool TryHandOver(const std::string& message) {
    OwnedHandle pipe(CreateFileW(PipeName().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OVERLAPPED, nullptr));
    if (!pipe.Valid()) {
        return false;
    }
    ULONG window = 0;
    if (GetNamedPipeServerProcessId(pipe.handle, &window)) {
        AllowSetForegroundWindow(window);
    }
    std::string bytes = message;
    char answer = 0;
    DWORD done = 0;
    return Transfer(pipe.handle, true, bytes.data(), DWORD(bytes.size()), 5000, done) &&
           done == bytes.size() && Transfer(pipe.handle, false, &answer, 1, 5000, done) && done == 1;
}

Listener::Listener() {
    auto system = std::make_unique<System>();
    system->pipe.handle = CreateNamedPipeW(
        PipeName().c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 4096, 4096, 0,
        nullptr);
    system->connected.handle = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    system->overlapped.hEvent = system->connected.handle;
    // FILE_FLAG_FIRST_PIPE_INSTANCE: a pipe of that name made by anyone else is not listened on.
    if (!system->pipe.Valid() || !system->connected.Valid() ||
        !AwaitClient(system->pipe.handle, system->overlapped)) {
        return;
    }
    knock_ = reinterpret_cast<intptr_t>(system->connected.handle);
    system_ = std::move(system);
}

Listener::~Listener() = default;

bool Listener::Receive(std::vector<std::string>& files) {
    if (!system_ || WaitForSingleObject(system_->connected.handle, 0) != WAIT_OBJECT_0) {
        return false;
    }
    const HANDLE pipe = system_->pipe.handle;
    DWORD ignored = 0;
    const bool connected = GetOverlappedResult(pipe, &system_->overlapped, &ignored, FALSE) != 0;
    // A start that was cut short, or sends more than any list of files, gets no answer.
    constexpr size_t Longest = 1 << 20;
    std::string message;
    char buffer[4096];
    bool complete = false;
    for (DWORD got = 0; connected && !complete && message.size() < Longest &&
                        Transfer(pipe, false, buffer, sizeof buffer, 1000, got) && got > 0;) {
        message.append(buffer, got);
        complete = Decode(message, files);
    }
    // Disconnecting would drop an answer not read yet: the start closes its end once it has it.
    char answer = 1;
    if (complete && Transfer(pipe, true, &answer, 1, 1000, ignored)) {
        Transfer(pipe, false, buffer, 1, 1000, ignored);
    }
    DisconnectNamedPipe(pipe);
    if (!AwaitClient(pipe, system_->overlapped)) {
        // Nothing more can be heard; the event stays unset so the window is not woken in vain.
        ResetEvent(system_->connected.handle);
    }
    return true;
}

} // namespace single_window
