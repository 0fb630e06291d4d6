#include "Code/Code_Function.h"
#include "Code/Code_Error.h"
#include "Platform/cARRAY_CLASS.h"
#include <algorithm>
#include <cstring>
#include <vector>

namespace {
constexpr size_t GrowStep = 500;

struct BuiltinTable {
    std::vector<BuiltinEntry> entries;
    std::vector<std::string> scriptNames;
    std::vector<std::string> extensionNames;
};

BuiltinTable& Table() {
    static BuiltinTable table;
    return table;
}

int IndexIn(const std::vector<std::string>& names, std::string_view name) {
    auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}
} // namespace

void Function_Add(const char* name, BuiltinFunction function, int argumentCount, uint8_t flag) {
    auto& entries = Table().entries;
    GrowBy(entries, GrowStep);
    BuiltinEntry entry{};
    std::strncpy(entry.name, name, sizeof entry.name - 1);
    entry.function = function;
    entry.argumentCount = argumentCount;
    entry.flag = flag;
    entry.usage = -1;
    entries.push_back(entry);
}

int Function_Find(std::string_view name) {
    const BuiltinTable& table = Table();
    if (int script = IndexIn(table.scriptNames, name); script >= 0) {
        return ScriptIdBase + script;
    }
    if (int extension = IndexIn(table.extensionNames, name); extension >= 0) {
        return ExtensionIdBase + extension;
    }
    if (name == "script_execute") {
        return ScriptExecuteId;
    }
    for (size_t i = 0; i < table.entries.size(); ++i) {
        if (name == table.entries[i].name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const BuiltinEntry* Function_Entry(int index) {
    const auto& entries = Table().entries;
    return index >= 0 && index < static_cast<int>(entries.size()) ? &entries[index] : nullptr;
}

int Function_Count() {
    return static_cast<int>(Table().entries.size());
}

void Function_Call(CInstance* self, CInstance* other, RValue& result, int argc, int index, RValue* args) {
    const BuiltinEntry* entry = Function_Entry(index);
    if (entry == nullptr) {
        RuntimeError("unknown built-in function index %d", index);
    }
    // A missing argument would be read as 0 or "" and the call would go on with it.
    if (entry->argumentCount >= 0 && argc != entry->argumentCount) {
        RuntimeError("wrong number of arguments for %s: expected %d, got %d", entry->name,
                     entry->argumentCount, argc);
    }
    entry->function(result, self, other, argc, args);
}

void Function_SetScriptNames(std::vector<std::string> names) {
    Table().scriptNames = std::move(names);
}
void Function_SetExtensionNames(std::vector<std::string> names) {
    Table().extensionNames = std::move(names);
}

const char* ArgText(int argc, RValue* args, int i) {
    if (i < 0 || i >= argc || !args[i].isString()) {
        return nullptr;
    }
    return args[i].str->text.c_str();
}

double ArgReal(int argc, RValue* args, int i) {
    return i >= 0 && i < argc ? args[i].AsReal() : 0.0;
}

int32_t ArgInt(int argc, RValue* args, int i) {
    return i >= 0 && i < argc ? args[i].AsInt32() : 0;
}
