#include "Shell_FileSystem.h"
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

// Started without a console window, its three streams as asked; the process's handle, or nothing.
UniqueHandle Start(const ChildRequest& request) {
    UniqueHandle input = request.inputFromNull ? NullInput() : Inheritable(GetStdHandle(STD_INPUT_HANDLE));
    UniqueHandle output = Inheritable(StreamHandle(request.output, STD_OUTPUT_HANDLE));
    UniqueHandle errors = Inheritable(StreamHandle(request.errors, STD_ERROR_HANDLE));
    std::vector<HANDLE> inherited;
    for (const UniqueHandle* handle : {&input, &output, &errors}) {
        if (handle->valid()) {
            inherited.push_back(handle->get());
        }
    }
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input.get();
    startup.StartupInfo.hStdOutput = output.get();
    startup.StartupInfo.hStdError = errors.get();
    AttributeList attributes = inherited.empty() ? nullptr : HandleList(inherited);
    startup.lpAttributeList = attributes.get();
    std::wstring line = CommandLine(request.arguments);
    PROCESS_INFORMATION process{};
    DWORD flags =
        CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT | (attributes ? EXTENDED_STARTUPINFO_PRESENT : 0);
    if (!CreateProcessW(win::wide_path(request.program).c_str(), line.data(), nullptr, nullptr,
                        attributes != nullptr, flags, nullptr, win::widen(request.folder).c_str(),
                        &startup.StartupInfo, &process)) {
        return UniqueHandle();
    }
    CloseHandle(process.hThread);
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
    UniqueHandle process = Start(request);
    DWORD status = 0;
    if (!process.valid() || WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.get(), &status)) {
        return process.valid() ? std::optional<int>(1) : std::nullopt;
    }
    return static_cast<int>(status);
}

// Windows has no fork: the interpreter's own program runs the command, and its handle is let go.
int StartDetached(const Session& session, std::string_view command, int out) {
    UniqueHandle process = Start({ModulePath(nullptr),
                                  {"morvane-cmd", "--command", std::string(command)},
                                  session.cwd(),
                                  true,
                                  out,
                                  -1});
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
