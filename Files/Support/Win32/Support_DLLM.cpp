#include "Support/Win32/Support_DLLM.h"
#include "Code/Code_Error.h"
#include "Runner/Runner_Log.h"
#include "Support/Win32/Support_FileM.h"
#include "Support/Win32/Support_System.h"
#include <span>

namespace {

// Libraries stay loaded for the life of the process, as their functions may be called any time.
std::vector<ExternalFunction>& Table() {
    static std::vector<ExternalFunction> table;
    return table;
}

std::string FolderOf(const std::string& path) {
    size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator == 0 ? 1 : separator);
}

void* LoadLibrary(const std::string& path) {
    System_CurrentFolderScope scope(FolderOf(path));
    return System_LoadLibrary(path);
}

using RegisterCallbacksFunction = void (*)(void*, void*, void*, void*);

void OfferCallbacks(void* module) {
    auto registerCallbacks =
        reinterpret_cast<RegisterCallbacksFunction>(System_FindFunction(module, "RegisterCallbacks"));
    if (registerCallbacks != nullptr) {
        registerCallbacks(reinterpret_cast<void*>(&DLLM_CallbackLog),
                          reinterpret_cast<void*>(&DLLM_CallbackSaveArea),
                          reinterpret_cast<void*>(&DLLM_CallbackProgramFolder),
                          reinterpret_cast<void*>(&DLLM_CallbackWarning));
    }
}

// One argument as the parameter wants it.
struct Argument {
    double real;
    const char* text;
};

// Builds the function's exact type from the parameter kinds: bit i of stringMask marks a string.
template <typename Result, typename... Passed>
Result CallMixed(void* address, std::span<const Argument> rest, unsigned stringMask, Passed... passed) {
    if (rest.empty()) {
        return reinterpret_cast<Result (*)(Passed...)>(address)(passed...);
    }
    if constexpr (sizeof...(Passed) < ExternalMaxMixedArguments) {
        if ((stringMask & 1) != 0) {
            return CallMixed<Result>(address, rest.subspan(1), stringMask >> 1, passed..., rest[0].text);
        }
        return CallMixed<Result>(address, rest.subspan(1), stringMask >> 1, passed..., rest[0].real);
    } else {
        return Result{};
    }
}

template <typename Result, typename... Passed>
Result CallReals(void* address, std::span<const Argument> rest, Passed... passed) {
    if (rest.empty()) {
        return reinterpret_cast<Result (*)(Passed...)>(address)(passed...);
    }
    if constexpr (sizeof...(Passed) < ExternalMaxArguments) {
        return CallReals<Result>(address, rest.subspan(1), passed..., rest[0].real);
    } else {
        return Result{};
    }
}

template <typename Result>
Result Call(const ExternalFunction& function, std::span<const Argument> arguments) {
    if (arguments.size() <= ExternalMaxMixedArguments) {
        unsigned stringMask = 0;
        for (size_t i = 0; i < arguments.size(); ++i) {
            stringMask |= function.stringArguments[i] ? 1u << i : 0u;
        }
        return CallMixed<Result>(function.address, arguments, stringMask);
    }
    return CallReals<Result>(function.address, arguments);
}

} // namespace

std::string DLLM_LibraryPath(const std::string& library) {
    std::string existing = FileM_ResolveExisting(library);
    return FileM_IsFile(existing) ? existing : library;
}

std::string DLLM_DecoratedName(const std::string& function, const std::vector<bool>& stringArguments) {
    int size = 0;
    for (bool isString : stringArguments) {
        size += isString ? 4 : 8;
    }
    return "_" + function + "@" + std::to_string(size);
}

int DLLM_Define(const std::string& library, const std::string& function, std::vector<bool> stringArguments,
                bool stringResult) {
    void* module = LoadLibrary(DLLM_LibraryPath(library));
    if (module == nullptr) {
        return -1;
    }
    ExternalFunction entry{module, System_FindFunction(module, function.c_str()), false,
                           std::move(stringArguments), stringResult};
    if (entry.address == nullptr) {
        entry.address =
            System_FindFunction(module, DLLM_DecoratedName(function, entry.stringArguments).c_str());
        entry.stdcall = true;
    }
    if (entry.address == nullptr) {
        System_FreeLibrary(module);
        return -1;
    }
    Table().push_back(std::move(entry));
    OfferCallbacks(module);
    return static_cast<int>(Table().size()) - 1;
}

const ExternalFunction* DLLM_Find(int id) {
    if (id < 0 || id >= static_cast<int>(Table().size())) {
        return nullptr;
    }
    return &Table()[static_cast<size_t>(id)];
}

RValue DLLM_Invoke(const ExternalFunction& function, const RValue* args) {
    std::vector<Argument> arguments;
    for (size_t i = 0; i < function.stringArguments.size(); ++i) {
        const RValue& value = args[i];
        if (function.stringArguments[i]) {
            arguments.push_back({0.0, value.isString() ? value.Text().data() : nullptr});
        } else {
            arguments.push_back({value.AsReal(), nullptr});
        }
    }
    if (function.stringResult) {
        const char* text = Call<const char*>(function, arguments);
        return RValue(text != nullptr ? text : "");
    }
    return RValue(Call<double>(function, arguments));
}

void DLLM_CallbackLog(const char* text) {
    Runner_Log("%s\n", text != nullptr ? text : "");
}
const char* DLLM_CallbackSaveArea() {
    return FileM_SaveArea().c_str();
}
const char* DLLM_CallbackProgramFolder() {
    return FileM_ProgramFolder().c_str();
}
void DLLM_CallbackWarning(const char* text) {
    RuntimeWarning("%s", text != nullptr ? text : "");
}
