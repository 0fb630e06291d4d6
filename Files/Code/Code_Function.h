// The built-in function table: registration, lookup by name, calls from compiled code.
#pragma once
#include "Code/Code_Variable.h"
#include <string>
#include <string_view>

struct CInstance;

using BuiltinFunction = void (*)(RValue& result, CInstance* self, CInstance* other, int argc, RValue* args);

struct BuiltinEntry {
    char name[64];
    BuiltinFunction function;
    int argumentCount; // -1: any number
    uint8_t flag;
    int usage; // -1 at registration
};

constexpr int ScriptIdBase = 100000;
constexpr int ScriptExecuteId = 499999;
constexpr int ExtensionIdBase = 500000;

void Function_Add(const char* name, BuiltinFunction function, int argumentCount, uint8_t flag = 0);
// Script names → 100000 + index; extension functions → 500000 + index; "script_execute" → 499999;
// else the first built-in with exactly that name; else -1.
int Function_Find(std::string_view name);
const BuiltinEntry* Function_Entry(int index);
int Function_Count();
void Function_Call(CInstance* self, CInstance* other, RValue& result, int argc, int index, RValue* args);

// Script and extension names consulted by Function_Find (filled by the loader).
void Function_SetScriptNames(std::vector<std::string> names);
void Function_SetExtensionNames(std::vector<std::string> names);

// Argument readers used by every built-in.
// Text of argument i: a string argument's text, nullptr when missing or not a string.
const char* ArgText(int argc, RValue* args, int i);
double ArgReal(int argc, RValue* args, int i);
int32_t ArgInt(int argc, RValue* args, int i);

// Registers every built-in family; each family has one registration function.
void Function_RegisterAll();
