#include "Variable/Variable_BuiltIn.h"
#include "Code/Code_Error.h"
#include "IO/IO_GameData.h"
#include "Object/Object_Class.h"
#include "Runner/Runner_Loop.h"
#include "Runner/Runner_Quiet.h"
#include "Runner/Runner_State.h"
#include <string>
#include <vector>

namespace {
struct BuiltinVariable {
    std::string name;
    VariableGetter getter;
    VariableSetter setter;
};

std::vector<BuiltinVariable>& Variables() {
    static std::vector<BuiltinVariable> variables;
    return variables;
}

const SpriteData* SpriteOf(const CInstance* self) {
    const auto& sprites = Runner_Data().sprites;
    if (self->spriteIndex < 0 || self->spriteIndex >= static_cast<int>(sprites.size())) {
        return nullptr;
    }
    return &sprites[self->spriteIndex];
}
} // namespace

int Variable_BuiltIn_Add(const char* name, VariableGetter getter, VariableSetter setter) {
    int existing = Variable_BuiltIn_Find(name);
    if (existing >= 0) {
        Variables()[existing] = {name, getter, setter};
        return existing;
    }
    Variables().push_back({name, getter, setter});
    return static_cast<int>(Variables().size()) - 1;
}

int Variable_BuiltIn_Find(std::string_view name) {
    const auto& variables = Variables();
    for (size_t i = 0; i < variables.size(); ++i) {
        if (variables[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

VariableGetter Variable_BuiltIn_Getter(int variable) {
    return Variables().at(size_t(variable)).getter;
}

VariableSetter Variable_BuiltIn_Setter(int variable) {
    return Variables().at(size_t(variable)).setter;
}

void Variable_BuiltIn_Get(CInstance* self, int variable, int arrayIndex, RValue& out) {
    const auto& variables = Variables();
    if (variable < 0 || variable >= static_cast<int>(variables.size())) {
        RuntimeError("unknown built-in variable %d", variable);
    }
    variables[variable].getter(self, arrayIndex, out);
}

void Variable_BuiltIn_Set(CInstance* self, int variable, int arrayIndex, const RValue& value) {
    if (variable < 0 || variable >= static_cast<int>(Variables().size())) {
        RuntimeError("unknown built-in variable %d", variable);
    }
    const BuiltinVariable& entry = Variables()[variable];
    if (entry.setter == nullptr) {
        RuntimeError("Unable to set a read-only variable %s", entry.name.c_str());
    }
    entry.setter(self, arrayIndex, value);
}

void Variable_BuiltIn_RegisterCore() {
    Variable_BuiltIn_Add(
        "x", [](CInstance* self, int, RValue& out) { out = RValue(self->x); },
        [](CInstance* self, int, const RValue& value) { self->x = value.AsReal(); });
    Variable_BuiltIn_Add(
        "y", [](CInstance* self, int, RValue& out) { out = RValue(self->y); },
        [](CInstance* self, int, const RValue& value) { self->y = value.AsReal(); });
    Variable_BuiltIn_Add(
        "id", [](CInstance* self, int, RValue& out) { out = RValue(self->id); }, nullptr);
    Variable_BuiltIn_Add(
        "image_speed", [](CInstance* self, int, RValue& out) { out = RValue(double{self->imageSpeed}); },
        [](CInstance* self, int, const RValue& value) {
            self->imageSpeed = static_cast<float>(value.AsReal());
        });
    Variable_BuiltIn_Add(
        "image_index",
        [](CInstance* self, int, RValue& out) {
            if (Runner_AnimationFreeRunning(self))
                Runner_MarkFrame("image_index"); // a sleep puts it forward by itself: reading it is news
            out = RValue(double{self->imageIndex});
        },
        [](CInstance* self, int, const RValue& value) {
            self->imageIndex = static_cast<float>(value.AsReal());
        });
    Variable_BuiltIn_Add(
        "image_alpha", [](CInstance* self, int, RValue& out) { out = RValue(self->imageAlpha); },
        [](CInstance* self, int, const RValue& value) { self->imageAlpha = value.AsReal(); });
    Variable_BuiltIn_Add(
        "sprite_width",
        [](CInstance* self, int, RValue& out) {
            const SpriteData* sprite = SpriteOf(self);
            out = RValue(sprite ? sprite->width * self->imageXScale : 0.0);
        },
        nullptr);
    Variable_BuiltIn_Add(
        "sprite_height",
        [](CInstance* self, int, RValue& out) {
            const SpriteData* sprite = SpriteOf(self);
            out = RValue(sprite ? sprite->height * self->imageYScale : 0.0);
        },
        nullptr);
    Variable_BuiltIn_Add(
        "delta_time",
        [](CInstance*, int, RValue& out) {
            // A frame on time steps one period; any other step is the clock's news.
            if (Runner_DeltaTime() != Runner_FramePeriod())
                Runner_MarkFrame("delta_time");
            out = RValue(static_cast<double>(Runner_DeltaTime()));
        },
        nullptr);
    Variable_BuiltIn_Add(
        "game_display_name",
        [](CInstance*, int, RValue& out) { out = RValue(Runner_Data().general.displayName); }, nullptr);
}
