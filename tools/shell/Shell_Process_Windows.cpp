#include "Shell_FileSystem.h"
#include "Shell_Lifeline.h"
#include "Shell_Process.h"
#include "Shell_Session.h"
#include "Shell_WindowsHandle.h"
#include "utf16.h"
#include <io.h>
#include <memory>

namespace shell {
namespace {

// One argument as the C runtime's parser reads it back: in quotes, a quote escaped with '\', and the
// backslashes before a quote (or before the closing quote) doubled; other backslashes stay as they are.
void AppendQuoted(std::wstring& line, std::wstring_view argument) {
    line += L'"';
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

// The program's name takes no escapes, and a Windows file name holds no quote.
std::wstring CommandLine(const std::vector<std::string>& arguments) {
    std::wstring line = L"\"" + win::widen(arguments.empty() ? std::string() : arguments[0]) + L"\"";
    for (size_t i = 1; i < arguments.size(); ++i) {
        line += L' ';
        AppendQuoted(line, win::widen(arguments[i]));
    }
    return line;
}

// An inheritable copy of a handle for the child; nothing for a handle the caller does not have.
UniqueHandle Inheritable(HANDLE handle) {
    HANDLE copy = nullptr;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE,
                         DUPLICATE_SAME_ACCESS)) {
        return UniqueHandle();
    }
    return UniqueHandle(copy);
}

HANDLE StreamHandle(int fd, DWORD standard) {
    return fd >= 0 ? reinterpret_cast<HANDLE>(_get_osfhandle(fd)) : GetStdHandle(standard);
}

UniqueHandle NullInput() {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return UniqueHandle(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                    OPEN_EXISTING, 0, nullptr));
}

struct AttributeListDeleter {
    void operator()(LPPROC_THREAD_ATTRIBUTE_LIST list) const {
        DeleteProcThreadAttributeList(list);
        delete[] reinterpret_cast<char*>(list);
    }
};
using AttributeList = std::unique_ptr<_PROC_THREAD_ATTRIBUTE_LIST, AttributeListDeleter>;

// Only these handles reach the child, whatever else of the caller's is inheritable.
AttributeList HandleList(std::vector<HANDLE>& handles) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(new char[size]);
    if (!InitializeProcThreadAttributeList(list, 1, 0, &size)) {
        delete[] reinterpret_cast<char*>(list);
        return nullptr;
    }
    AttributeList owned(list);
    if (!UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles.data(),
                                   handles.size() * sizeof(HANDLE), nullptr, nullptr)) {
        return nullptr;
    }
    return owned;
}

// A program's output bound for a file, through a pipe its caller empties into the file.
struct OutputPipe {
    UniqueHandle read;  // the caller's end
    UniqueHandle write; // the program's end, inheritable
    HANDLE file = nullptr;
};

// Under Wine the handles a program inherited are closed a moment after the wait for it has returned,
// and a file deleted in that moment stays (`prog > out.txt & del out.txt`). So a program writing into
// a file gets a pipe instead, emptied into the file until its end: the file is never the program's,
// and the end comes only once the program has let go of its handles.
std::optional<OutputPipe> PipeToFile(HANDLE file) {
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    if (file == nullptr || file == INVALID_HANDLE_VALUE || GetFileType(file) != FILE_TYPE_DISK ||
        !CreatePipe(&read, &write, &inherit, 0)) {
        return std::nullopt;
    }
    OutputPipe pipe{UniqueHandle(read), UniqueHandle(write), file};
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    return pipe;
}

// Until the program's end of the pipe is closed. A file that takes no more loses the rest; the
// program is not held up by it.
void Drain(const OutputPipe& pipe) {
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(pipe.read.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        DWORD written = 0;
        WriteFile(pipe.file, buffer, got, &written, nullptr);
    }
}

// Started without a console window, its three streams as asked (its output through `pipe`, when one
// is given and the output is a file); the process's handle, or nothing.
UniqueHandle Start(const ChildRequest& request, std::optional<OutputPipe>* pipe) {
    HANDLE outputHandle = StreamHandle(request.output, STD_OUTPUT_HANDLE);
    HANDLE errorsHandle = StreamHandle(request.errors, STD_ERROR_HANDLE);
    if (pipe != nullptr) {
        *pipe = PipeToFile(outputHandle);
    }
    bool piped = pipe != nullptr && pipe->has_value();
    UniqueHandle input = request.inputFromNull ? NullInput() : Inheritable(GetStdHandle(STD_INPUT_HANDLE));
    UniqueHandle output = piped ? std::move((*pipe)->write) : Inheritable(outputHandle);
    // Errors bound for the same file share the pipe.
    UniqueHandle errors = piped && errorsHandle == outputHandle ? UniqueHandle() : Inheritable(errorsHandle);
    HANDLE errorsForChild = errors.valid() ? errors.get() : output.get();
    std::vector<HANDLE> inherited;
    for (HANDLE handle : {input.get(), output.get(), errors.get()}) {
        if (handle != nullptr) {
            inherited.push_back(handle);
        }
    }
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input.get();
    startup.StartupInfo.hStdOutput = output.get();
    startup.StartupInfo.hStdError = errorsForChild;
    AttributeList attributes = inherited.empty() ? nullptr : HandleList(inherited);
    startup.lpAttributeList = attributes.get();
    std::wstring line = CommandLine(request.arguments);
    PROCESS_INFORMATION process{};
    DWORD flags = CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT |
                  (attributes ? EXTENDED_STARTUPINFO_PRESENT : 0) |
                  (request.endsWithTool ? CREATE_SUSPENDED : 0);
    if (request.endsWithTool) {
        HoldLifeline();
    }
    if (!CreateProcessW(win::wide_path(request.program).c_str(), line.data(), nullptr, nullptr,
                        attributes != nullptr, flags, nullptr, win::widen(request.folder).c_str(),
                        &startup.StartupInfo, &process)) {
        return UniqueHandle();
    }
    // A tool already in a job that takes no nested one (before Windows 8) starts it all the same.
    if (request.endsWithTool) {
        JoinLifeline(process.hProcess);
        ResumeThread(process.hThread);
    }
    CloseHandle(process.hThread);
    // `output`, the program's end of a pipe among them, is closed here: only the program holds it now.
    return UniqueHandle(process.hProcess);
}

// The file of a loaded module (nullptr: the program), or nothing.
std::string ModulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return win::narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

std::optional<int> RunChild(const ChildRequest& request) {
    std::optional<OutputPipe> pipe;
    UniqueHandle process = Start(request, request.outputFreeAtExit ? &pipe : nullptr);
    if (process.valid() && pipe) {
        Drain(*pipe);
    }
    DWORD status = 0;
    if (!process.valid() || WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.get(), &status)) {
        return process.valid() ? std::optional<int>(1) : std::nullopt;
    }
    return static_cast<int>(status);
}

// Windows has no fork: the interpreter's own program runs the command, and its handle is let go.
int StartDetached(const Session& session, std::string_view command, int out) {
    ChildRequest request{ModulePath(nullptr),
                         {"morvane-cmd", "--command", std::string(command)},
                         session.cwd(),
                         true,
                         out,
                         -1};
    // Nobody waits to empty a pipe: the background interpreter writes into the file itself.
    UniqueHandle process = Start(request, nullptr);
    return process.valid() ? 0 : 1;
}

bool IsProgramFile(const std::string& path) {
    return Inspect(path).regular;
}

std::string InterpreterBeside(const void* address) {
    HMODULE module = nullptr;
    std::string path;
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCWSTR>(address), &module)) {
        path = ModulePath(module);
    }
    return path.empty() ? "morvane-cmd.exe" : Absolute(ParentFolder(path), "morvane-cmd.exe");
}

} // namespace shell
