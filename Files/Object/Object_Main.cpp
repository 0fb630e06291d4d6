#include "Object/Object_Main.h"
#include "Code/Code_Main.h"
#include "IO/IO_GameData.h"
#include "Runner/Runner_Log.h"
#include <algorithm>
#include <array>
#include <unordered_map>

namespace {
std::vector<CObject> objects;
// Every object's handler by (type, subtype) at EventListSlot; empty where no object has the event.
std::vector<std::vector<EventHandler>> eventLists;
// Which object's event runs for (object, type, subtype): fixed once the objects are prepared, and
// asked for every event of every frame, so each answer is worked out once.
std::unordered_map<uint64_t, EventHandler> eventHandlers;

uint64_t OwnerKey(int index, int type, int subtype) {
    return (uint64_t(uint32_t(index)) << 32) | (uint64_t(uint16_t(type)) << 16) | uint16_t(subtype);
}

EventHandler WalkToEventHandler(int index, int type, int subtype) {
    // The depth guard stops a malformed parent cycle.
    int depth = 0;
    for (CObject* object = Object_Get(index); object != nullptr && depth < 64;
         object = object->Parent(), ++depth) {
        if (auto own = object->events.find({type, subtype}); own != object->events.end()) {
            return {object, Code_Entry(own->second)};
        }
    }
    return {};
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
// Where (type, subtype) sits among the lists: the types' subtype ranges one after another; -1 outside.
int EventListSlot(int type, int subtype) {
    if (type < 0 || type >= EventTypeCount || subtype < 0 || subtype >= SubtypeCount(type)) {
        return -1;
    }
    // Where each type's range begins.
    static const std::array<int, EventTypeCount> starts = [] {
        std::array<int, EventTypeCount> begin{};
        for (int before = 1; before < EventTypeCount; ++before) {
            begin[size_t(before)] = begin[size_t(before - 1)] + SubtypeCount(before - 1);
        }
        return begin;
    }();
    return starts[size_t(type)] + subtype;
}
} // namespace

CObject* CObject::Parent() const {
    return parentIndex >= 0 ? Object_Get(parentIndex) : nullptr;
}

bool Object_Prepare(const GameData& data) {
    objects.clear();
    eventHandlers.clear();
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
    eventHandlers.clear();
}

CObject* Object_Get(int index) {
    return index >= 0 && index < static_cast<int>(objects.size()) && !objects[index].name.empty()
               ? &objects[index]
               : nullptr;
}

int Object_Count() {
    return static_cast<int>(objects.size());
}

const EventHandler& Object_FindEventHandler(int index, int type, int subtype) {
    const auto [place, added] = eventHandlers.try_emplace(OwnerKey(index, type, subtype));
    if (added)
        place->second = WalkToEventHandler(index, type, subtype);
    return place->second;
}

void Object_BuildEventLists() {
    eventLists.clear();
    for (int type = 0; type < EventTypeCount; ++type) {
        for (int subtype = 0; subtype < SubtypeCount(type); ++subtype) {
            std::vector<EventHandler> handlers;
            bool anyOwner = false;
            for (const CObject& object : objects) {
                handlers.push_back(object.name.empty()
                                       ? EventHandler{}
                                       : Object_FindEventHandler(object.index, type, subtype));
                anyOwner = anyOwner || handlers.back().owner != nullptr;
            }
            if (anyOwner) {
                eventLists.resize(std::max(eventLists.size(), size_t(EventListSlot(type, subtype)) + 1));
                eventLists[size_t(EventListSlot(type, subtype))] = std::move(handlers);
            }
        }
    }
}

const std::vector<EventHandler>& Object_EventHandlers(int type, int subtype) {
    static const std::vector<EventHandler> none;
    const int slot = EventListSlot(type, subtype);
    return slot >= 0 && size_t(slot) < eventLists.size() ? eventLists[size_t(slot)] : none;
}
