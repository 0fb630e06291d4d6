// Built-in variables: numbered, read and written through get/set with (instance, number, array index).
#pragma once
#include "Code/Code_Variable.h"
#include <string_view>

struct CInstance;

using VariableGetter = void (*)(CInstance* self, int arrayIndex, RValue& out);
using VariableSetter = void (*)(CInstance* self, int arrayIndex, const RValue& value);

// Registers a built-in variable; a null setter makes it read-only.
int Variable_BuiltIn_Add(const char* name, VariableGetter getter, VariableSetter setter);
// The variable's number, or -1.
int Variable_BuiltIn_Find(std::string_view name);
// A variable's own accessors, for a reference bound once (the setter is null for a read-only one).
VariableGetter Variable_BuiltIn_Getter(int variable);
VariableSetter Variable_BuiltIn_Setter(int variable);
void Variable_BuiltIn_Get(CInstance* self, int variable, int arrayIndex, RValue& out);
void Variable_BuiltIn_Set(CInstance* self, int variable, int arrayIndex, const RValue& value);

// Registers the per-instance variables (x, y, id, image_*, sprite_*), delta_time and
// game_display_name; other families register theirs (mouse_x in graphics, ...).
void Variable_BuiltIn_RegisterCore();
