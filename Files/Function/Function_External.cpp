// external_define and external_call: binding and calling functions of external libraries.
#include "Code/Code_Error.h"
#include "Code/Code_Function.h"
#include "Function/Function_Families.h"
#include "Runner/Runner_Quiet.h"
#include "Runner/Runner_State.h"
#include "Support/Win32/Support_DLLM.h"
#include "platform/Platform.h"

namespace {

constexpr int DefineFixedArguments = 5;
constexpr int TypeString = 1;

std::string TextOf(const RValue& value) {
    return value.isString() ? std::string(value.Text()) : ToDisplayString(value);
}

// external_define(library, function, calltype, restype, n, type1 ... typeN). A failure is reported
// and gives -1; the program goes on, and every external_call with -1 returns at once.
void F_ExternalDefine(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("external_define");
    result = RValue(-1.0);
    if (argc < DefineFixedArguments || argc != ArgInt(argc, args, 4) + DefineFixedArguments) {
        return ReportError("Wrong number of arguments to external_define()");
    }
    int count = argc - DefineFixedArguments;
    if (count > ExternalMaxArguments) {
        return ReportError("DLL functions can have at most 16 arguments");
    }
    std::vector<bool> stringArguments;
    for (int i = 0; i < count; ++i) {
        stringArguments.push_back(ArgInt(argc, args, DefineFixedArguments + i) == TypeString);
    }
    if (count > ExternalMaxMixedArguments) {
        for (int i = 0; i < count; ++i) {
            if (ArgInt(argc, args, DefineFixedArguments + i) != 0) {
                return ReportError("DLL functions with more than 4 arguments cannot have string arguments");
            }
        }
    }
    // The call type is read but the convention follows from the name found (see DLLM_Define).
    bool stringResult = ArgInt(argc, args, 3) == TypeString;
    int id = DLLM_Define(TextOf(args[0]), TextOf(args[1]), std::move(stringArguments), stringResult);
    if (id < 0) {
        return ReportError("Error defining an external function.");
    }
    result = RValue(static_cast<double>(id));
}

// external_call(id, arguments...): every mismatch is silent and yields 0.
void F_ExternalCall(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("external_call");
    int id = ArgInt(argc, args, 0);
    if (id < 0) {
        return;
    }
    result = RValue(0.0);
    const ExternalFunction* function = DLLM_Find(id);
    if (function == nullptr || function->address == nullptr ||
        argc - 1 != static_cast<int>(function->stringArguments.size())) {
        return;
    }
    // "-ext": definitions stand, but nothing is called.
    if (Runner_HasOption("-ext")) {
        return;
    }
    // A command line runs for seconds: the window, if any, stays alive meanwhile, and no frame runs.
    const auto call = [&] { result = DLLM_Invoke(*function, args + 1); };
    CurrentPlatform().RunBlocking(call);
}

} // namespace

void Register_External() {
    Function_Add("external_define", F_ExternalDefine, -1);
    Function_Add("external_call", F_ExternalCall, -1);
}
