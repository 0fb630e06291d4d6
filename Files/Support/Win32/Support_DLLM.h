// Functions of external libraries: loading the library, finding the function, and calling it
// with runtime values. The table behind external_define and external_call.
#pragma once
#include "Code/Code_Variable.h"
#include <string>
#include <vector>

constexpr int ExternalMaxArguments = 16;
// Above this many arguments every argument must be a real.
constexpr int ExternalMaxMixedArguments = 4;

struct ExternalFunction {
    void* module = nullptr; // the library's handle, kept for the life of the process
    void* address = nullptr;
    // Found under its decorated "_name@size" name: called as stdcall, else as cdecl. The two are
    // one convention on this platform; the flag records how the function was found.
    bool stdcall = false;
    std::vector<bool> stringArguments;
    bool stringResult = false;
};

// The library named as external_define names it: the file in the writable area, else the one
// among the program's files, else the name unchanged for the system to find.
std::string DLLM_LibraryPath(const std::string& library);

// Loads the library (with its folder as the current folder meanwhile) and binds the function,
// plain name first, then the decorated one. The new id, or -1.
int DLLM_Define(const std::string& library, const std::string& function, std::vector<bool> stringArguments,
                bool stringResult);

// The stdcall name: "_name@size", with 8 bytes for each real parameter and 4 for each string.
std::string DLLM_DecoratedName(const std::string& function, const std::vector<bool>& stringArguments);

// The entry of an id, or nullptr.
const ExternalFunction* DLLM_Find(int id);

// Calls the function with one argument per parameter: the text for string parameters (nullptr
// for a value that is no string), the number otherwise.
RValue DLLM_Invoke(const ExternalFunction& function, const RValue* args);

// The entry points handed to a library's RegisterCallbacks, in this order.
extern "C" {
void DLLM_CallbackLog(const char* text);     // a line to the runtime's debug log
const char* DLLM_CallbackSaveArea();         // the writable area, ending in '/'
const char* DLLM_CallbackProgramFolder();    // the program's folder, ending in '/'
void DLLM_CallbackWarning(const char* text); // a runtime warning
}
