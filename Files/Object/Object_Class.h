// Instances: the live copies of objects in a room, and the global object.
#pragma once
#include "Code/Code_Variable.h"
#include <cstdint>
#include <vector>

struct LayerElement;

struct CInstance {
    int id = 0;
    int objectIndex = -1;
    double x = 0, y = 0, xprevious = 0, yprevious = 0;
    int depth = 0;
    int spriteIndex = -1;
    float imageIndex = 0;
    float imageSpeed = 1;
    double imageAlpha = 1;
    double imageXScale = 1, imageYScale = 1, imageAngle = 0;
    uint32_t imageBlend = 0xFFFFFF;
    bool visible = true;
    bool persistent = false;
    bool markedDestroyed = false;
    bool deactivated = false;
    bool created = false;
    bool carriedOver = false;
    uint64_t createStamp = 0;
    LayerElement* element = nullptr;

    // Variable slot N; the block (instance variable count slots) is made on first access.
    // Read every frame by the code: the grow path stays out of line.
    RValue& Slot(int n) { return n < static_cast<int>(slots_.size()) ? slots_[size_t(n)] : GrowToSlot(n); }
    bool HasSlotBlock() const { return !slots_.empty(); }
    // The slots made so far (none before the first access), for a look at the whole state.
    size_t SlotCount() const { return slots_.size(); }
    RValue& SlotAt(size_t n) { return slots_[n]; }

  private:
    RValue& GrowToSlot(int n);
    std::vector<RValue> slots_;
};

// The global object: instance-like, made at load, holds the global variables' slots.
CInstance* GlobalObject();
// How many slots an instance's block gets when it is made (the game's instance variable count).
void SetInstanceSlotCount(int count);
void CreateGlobalObject(int slotCount);
