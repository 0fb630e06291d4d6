#include "app/Tool_Game.h"
#include "app/Tool_Code.h"
#include "app/Tool_Wiring.h"
#include <array>

namespace tool {
namespace {
#define TOOL_NAME(name) #name,
#define TOOL_INDEX(name) index_##name,
enum BuiltinIndex { TOOL_BUILTINS(TOOL_INDEX) BuiltinCount };
FunctionReference functionReferences[] = {
#define TOOL_FUNCTION_REFERENCE(name) {#name, -1},
    TOOL_BUILTINS(TOOL_FUNCTION_REFERENCE)
#undef TOOL_FUNCTION_REFERENCE
};

// The tool variables with their slots, then the built-in variables (resolved at load).
constexpr const char* toolVariableNames[] = {TOOL_VARIABLES(TOOL_NAME)};
constexpr const char* builtinVariableNames[] = {TOOL_BUILTIN_VARIABLES(TOOL_NAME)};
constexpr size_t BuiltinVariableCount = std::size(builtinVariableNames);

std::array<VariableReference, VariableCount + BuiltinVariableCount> MakeVariableReferences() {
    std::array<VariableReference, VariableCount + BuiltinVariableCount> references{};
    for (int slot = 0; slot < VariableCount; ++slot) {
        references[slot] = {toolVariableNames[slot], slot};
    }
    for (size_t i = 0; i < BuiltinVariableCount; ++i) {
        references[VariableCount + i] = {builtinVariableNames[i], -1};
    }
    return references;
}
auto variableReferences = MakeVariableReferences();

template <ScriptFunction Script> void RunScriptAsEntry(CInstance* self, CInstance* other) {
    RValue result;
    Script(self, other, result, 0, nullptr);
}

#define TOOL_COUNT_SCRIPT(id, name) +1
#define TOOL_COUNT_EVENT(id, object, type, subtype, function) +1
constexpr size_t CodeCount = 0 TOOL_WIRING(TOOL_COUNT_SCRIPT, TOOL_COUNT_EVENT, TOOL_COUNT_SCRIPT);

// Each entry at its code id; two entries on one id, or an id without one, stop the build.
constexpr std::array<CodeTableEntry, CodeCount> MakeCodeTable() {
    std::array<CodeTableEntry, CodeCount> table{};
    // Placement is tracked apart from the functions: with the sanitizers on, GCC will not compare a
    // function's address with null in a constant expression.
    std::array<bool, CodeCount> placed{};
    auto place = [&](size_t id, const char* name, EventFunction function) {
        if (id >= CodeCount || placed[id])
            throw "two entries share a code id";
        placed[id] = true;
        table[id] = {name, function};
    };
#define TOOL_PLACE_SCRIPT(id, name) place(id, "Script_" #name, RunScriptAsEntry<name>);
#define TOOL_PLACE_EVENT(id, object, type, subtype, function)                                                \
    place(id, "Object_" #object "_" #type "_" #subtype, function);
#define TOOL_PLACE_GLOBAL(id, function) place(id, #function, function);
    TOOL_WIRING(TOOL_PLACE_SCRIPT, TOOL_PLACE_EVENT, TOOL_PLACE_GLOBAL)
    for (bool filled : placed)
        if (!filled)
            throw "a code id has no entry";
    return table;
}
constexpr std::array<CodeTableEntry, CodeCount> codeTable = MakeCodeTable();
#undef TOOL_COUNT_SCRIPT
#undef TOOL_COUNT_EVENT
#undef TOOL_PLACE_SCRIPT
#undef TOOL_PLACE_EVENT
#undef TOOL_PLACE_GLOBAL
#undef TOOL_NAME
#undef TOOL_INDEX
} // namespace

namespace refs {
#define TOOL_DEFINE_REFERENCE(name) FunctionReference& name = functionReferences[index_##name];
TOOL_BUILTINS(TOOL_DEFINE_REFERENCE)
#undef TOOL_DEFINE_REFERENCE
} // namespace refs

VariableReference& BuiltinVariableReference(BV variable) {
    return variableReferences[VariableCount + static_cast<int>(variable)];
}
} // namespace tool

const EmbeddedGame& Tool_Game(const uint8_t* data, size_t length) {
    static EmbeddedGame game;
    game = EmbeddedGame{data,
                        length,
                        tool::VariableCount,
                        tool::VariableCount,
                        static_cast<int>(tool::codeTable.size()),
                        tool::variableReferences.data(),
                        tool::variableReferences.size(),
                        tool::functionReferences,
                        std::size(tool::functionReferences),
                        tool::codeTable.data()};
    return game;
}
