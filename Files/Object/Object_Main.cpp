#include "Object/Object_Main.h"
#include "Code/Code_Main.h"
#include "IO/IO_GameData.h"
#include "Runner/Runner_Log.h"
#include <algorithm>
#include <unordered_map>

namespace {
std::vector<CObject> objects;
std::map<std::pair<int, int>, std::vector<int>> eventLists;
// Which object's event runs for (object, type, subtype): fixed once the objects are prepared, and
// asked for every event of every frame, so each answer is worked out once.
std::unordered_map<uint64_t, CObject*> eventOwners;

uint64_t OwnerKey(int index, int type, int subtype) {
    return (uint64_t(uint32_t(index)) << 32) | (uint64_t(uint16_t(type)) << 16) | uint16_t(subtype);
}

CObject* WalkToEventOwner(int index, int type, int subtype) {
    // The depth guard stops a malformed parent cycle.
    int depth = 0;
    for (CObject* object = Object_Get(index); object != nullptr && depth < 64;
         object = object->Parent(), ++depth) {
        if (object->HasOwnEvent(type, subtype)) {
            return object;
        }
    }
    return nullptr;
}
// Subtype ranges the lists are built for, by event type.
int SubtypeCount(int type) {
    switch (type) {
    case ev_alarm:
        return 13;
    case ev_step:
        return 17;
    case ev_keyboard:
    case ev_mouse:
    case ev_other:
    case ev_keypress:
    case ev_keyrelease:
        return 129;
    case ev_draw:
        return 78;
    default:
        return 1;
    }
}
} // namespace

CObject* CObject::Parent() const {
    return parentIndex >= 0 ? Object_Get(parentIndex) : nullptr;
}

bool Object_Prepare(const GameData& data) {
    objects.clear();
    eventOwners.clear();
    objects.resize(data.objects.size());
    for (size_t i = 0; i < data.objects.size(); ++i) {
        const ObjectData& source = data.objects[i];
        CObject& object = objects[i];
        object.index = static_cast<int>(i);
        object.name = source.name;
        object.spriteIndex = source.spriteIndex;
        object.visible = source.visible;
        object.solid = source.solid;
        object.persistent = source.persistent;
        object.depth = source.depth;
        object.parentIndex = source.parentIndex;
        object.maskIndex = source.maskIndex;
        for (int type = 0; type < EventTypeCount; ++type) {
            for (const EventData& event : source.events[type]) {
                int codeId = event.actions.empty() ? -1 : event.actions.front().codeId;
                if (Code_Entry(codeId) == nullptr) {
                    return false; // start-up logs the failure
                }
                object.events[{type, event.subtype}] = codeId;
            }
        }
    }
    return true;
}

void Object_Clear() {
    objects.clear();
    eventLists.clear();
    eventOwners.clear();
}

CObject* Object_Get(int index) {
    return index >= 0 && index < static_cast<int>(objects.size()) && !objects[index].name.empty()
               ? &objects[index]
               : nullptr;
}

int Object_Count() {
    return static_cast<int>(objects.size());
}

CObject* Object_FindEventOwner(int index, int type, int subtype) {
    const auto [place, added] = eventOwners.try_emplace(OwnerKey(index, type, subtype), nullptr);
    if (added)
        place->second = WalkToEventOwner(index, type, subtype);
    return place->second;
}

void Object_BuildEventLists() {
    eventLists.clear();
    for (int type = 0; type < EventTypeCount; ++type) {
        for (int subtype = 0; subtype < SubtypeCount(type); ++subtype) {
            std::vector<int> list;
            for (const CObject& object : objects) {
                if (!object.name.empty() && Object_FindEventOwner(object.index, type, subtype) != nullptr) {
                    list.push_back(object.index);
                }
            }
            if (!list.empty()) {
                eventLists[{type, subtype}] = std::move(list);
            }
        }
    }
}

const std::vector<int>& Object_EventList(int type, int subtype) {
    static const std::vector<int> empty;
    auto found = eventLists.find({type, subtype});
    return found == eventLists.end() ? empty : found->second;
}
