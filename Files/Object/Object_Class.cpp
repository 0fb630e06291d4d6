#include "Object/Object_Class.h"
#include <algorithm>
#include <memory>

namespace {
std::unique_ptr<CInstance> globalObject;
int instanceSlotCount = 0;
} // namespace

void SetInstanceSlotCount(int count) {
    instanceSlotCount = count;
}

RValue& CInstance::GrowToSlot(int n) {
    slots_.resize(std::max(n + 1, instanceSlotCount));
    return slots_[size_t(n)];
}

CInstance* GlobalObject() {
    return globalObject.get();
}

void CreateGlobalObject(int slotCount) {
    globalObject = std::make_unique<CInstance>();
    globalObject->id = -5;
    if (slotCount > 0) {
        globalObject->Slot(slotCount - 1);
    }
}
