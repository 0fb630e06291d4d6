#include "app/Tool_Runtime.h"
#include "Object/Object_Main.h"
#include "Variable/Variable_BuiltIn.h"

namespace tool {
Frame::Frame(CInstance* self, CInstance* other, const char* name)
    : trace_(name), savedSelf_(runningSelf_), savedOther_(runningOther_) {
    runningSelf_ = self;
    runningOther_ = other;
}

Frame::~Frame() {
    runningSelf_ = savedSelf_;
    runningOther_ = savedOther_;
}

RValue get(BV variable) {
    RValue value;
    BuiltinVariableReference(variable).getter(Self(), NoArrayIndex, value);
    return value;
}

void set(BV variable, const RValue& value) {
    const VariableReference& reference = BuiltinVariableReference(variable);
    if (reference.setter != nullptr)
        reference.setter(Self(), NoArrayIndex, value);
    else
        Variable_BuiltIn_Set(Self(), reference.builtin, NoArrayIndex, value); // refused there
}

void set_on_all(Object object, Var v, const RValue& value) {
    if (CObject* target = Object_Get(object)) {
        for (CInstance* instance : target->instances) {
            instance->Slot(v) = value;
        }
    }
}
} // namespace tool
