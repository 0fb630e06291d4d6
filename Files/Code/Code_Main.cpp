#include "Code/Code_Main.h"
#include "Code/Code_Error.h"
#include "Code/Code_Function.h"
#include "Runner/Runner_Log.h"
#include "Variable/Variable_BuiltIn.h"
#include <cstdio>
#include <vector>

namespace {
std::vector<CodeEntry> entries;
} // namespace

void Code_Load(const EmbeddedGame& game) {
    entries.clear();
    entries.reserve(game.codeEntryCount);
    for (int id = 0; id < game.codeEntryCount; ++id) {
        entries.push_back({id, &game.codeTable[id]});
    }
}

const CodeEntry* Code_Entry(int id) {
    return id >= 0 && id < static_cast<int>(entries.size()) ? &entries[id] : nullptr;
}

void Code_Execute(const CodeEntry& entry, CInstance* self, CInstance* other) {
    if (entry.table->function != nullptr) {
        entry.table->function(self, other);
    }
}

namespace {
void ReportLoadError(const char* what, const char* name) {
    char message[512];
    std::snprintf(message, sizeof message, "Error on load\nUnable to find %s %s\n", what, name);
    ShowError(message);
}
} // namespace

bool Code_BindReferences(const EmbeddedGame& game) {
    for (size_t i = 0; i < game.variableCount; ++i) {
        VariableReference& ref = game.variables[i];
        if (ref.slot >= 0) {
            continue;
        }
        ref.builtin = Variable_BuiltIn_Find(ref.name);
        if (ref.builtin < 0) {
            ReportLoadError("variable", ref.name);
            return false;
        }
        ref.getter = Variable_BuiltIn_Getter(ref.builtin);
        ref.setter = Variable_BuiltIn_Setter(ref.builtin);
    }
    for (size_t i = 0; i < game.functionCount; ++i) {
        FunctionReference& ref = game.functions[i];
        ref.index = Function_Find(ref.name);
        if (ref.index < 0) {
            ReportLoadError("function", ref.name);
            return false;
        }
        // Scripts and extension functions have no entry: their calls go through the table.
        const BuiltinEntry* entry = Function_Entry(ref.index);
        ref.function = entry != nullptr ? entry->function : nullptr;
        ref.argumentCount = entry != nullptr ? entry->argumentCount : -1;
    }
    return true;
}
