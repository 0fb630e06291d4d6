// The compiled-code table and the descriptor of a game compiled into the executable.
#pragma once
#include "Code/Code_Function.h"
#include "Code/Code_Variable.h"
#include "Variable/Variable_BuiltIn.h"
#include <cstddef>
#include <cstdint>

struct CInstance;

// Events and global init scripts: native functions of (self, other).
using EventFunction = void (*)(CInstance* self, CInstance* other);
// Scripts: called directly by compiled code with a result cell and arguments.
using ScriptFunction = RValue& (*)(CInstance* self, CInstance* other, RValue& result, int argc,
                                   RValue** args);

struct CodeTableEntry {
    const char* name;
    EventFunction function;
};

// Reference from compiled code to a variable: tool variables carry their slot, built-ins -1 until resolved.
// A built-in's accessors are bound with its number, so that a read every frame goes straight to them.
struct VariableReference {
    const char* name;
    int slot;         // tool variables: their slot; built-ins: -1
    int builtin = -1; // built-ins: their number, filled at load
    VariableGetter getter = nullptr;
    VariableSetter setter = nullptr; // null for a read-only one
};

// Reference from compiled code to a built-in function, bound by name at load with its function and
// argument count, so that a call goes straight to it.
struct FunctionReference {
    const char* name;
    int index = -1;
    BuiltinFunction function = nullptr;
    int argumentCount = -1;
};

struct EmbeddedGame {
    const uint8_t* data;
    size_t length;
    int globalVariableCount;
    int instanceVariableCount;
    int codeEntryCount;
    VariableReference* variables;
    size_t variableCount;
    FunctionReference* functions;
    size_t functionCount;
    const CodeTableEntry* codeTable;
};

// A code entry per code id; events resolve their code id to one.
struct CodeEntry {
    int id;
    const CodeTableEntry* table;
};

void Code_Load(const EmbeddedGame& game);
const CodeEntry* Code_Entry(int id);
// Runs the entry's function with (self, other).
void Code_Execute(const CodeEntry& entry, CInstance* self, CInstance* other);

// Binds every variable and function reference by name; on failure shows
// "Error on load\nUnable to find function %s\n" / "...variable %s\n" and returns false.
bool Code_BindReferences(const EmbeddedGame& game);

// Calls a built-in through a bound reference: Call(ref, self, other, args...). A call the table would
// refuse (not bound, wrong number of arguments) goes through it, to be refused there.
inline RValue CallBuiltin(const FunctionReference& ref, CInstance* self, CInstance* other, int argc,
                          RValue* args) {
    RValue result(0.0);
    if (ref.function != nullptr && (ref.argumentCount < 0 || argc == ref.argumentCount))
        ref.function(result, self, other, argc, args);
    else
        Function_Call(self, other, result, argc, ref.index, args);
    return result;
}
template <typename... Args>
RValue CallBuiltin(const FunctionReference& ref, CInstance* self, CInstance* other, Args&&... values) {
    RValue args[sizeof...(Args) + 1] = {RValue(std::forward<Args>(values))...};
    return CallBuiltin(ref, self, other, static_cast<int>(sizeof...(Args)), args);
}
