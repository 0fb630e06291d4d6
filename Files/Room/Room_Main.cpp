#include "Room/Room_Main.h"
#include "Code/Code_Error.h"
#include "Code/Code_Main.h"
#include "Graphics_API/Graphics_API.h"
#include "IO/IO_GameData.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Platform/Hash.h"
#include "Room/Room_Class.h"
#include "Runner/Runner_Log.h"
#include <algorithm>
#include <memory>

namespace {
const GameData* gameData = nullptr;
int pendingRoom = NoPendingRoom;
std::unique_ptr<CRoom> currentRoom;
Hash<int, std::unique_ptr<CInstance>> instancesById;
std::vector<CInstance*> carryOver;
uint64_t dispatchStamp = 0;
int nextInstanceId = 0;

void Unlink(CInstance* instance) {
    if (CObject* object = Object_Get(instance->objectIndex)) {
        std::erase(object->instances, instance);
    }
    if (currentRoom) {
        std::erase(currentRoom->active, instance);
        currentRoom->layers.RemoveInstance(instance);
    }
}

void Destroy(CInstance* instance) {
    Unlink(instance);
    instancesById.erase(instance->id);
}

void ApplyRoomInstanceData(CInstance* instance, const RoomInstanceData& source) {
    instance->imageXScale = source.scaleX;
    instance->imageYScale = source.scaleY;
    instance->imageBlend = source.colour & 0xFFFFFF;
    instance->imageAlpha = ((source.colour >> 24) & 0xFF) / 255.0;
    instance->imageAngle = source.rotation;
}

void BuildLayers(CRoom& room) {
    for (const LayerData& data : room.data->layers) {
        Layer& layer = room.layers.Insert({data.name, data.id, data.depth, data.visible, {}});
        if (data.type == LayerType::Background) {
            Layer_AddElement(layer, {LayerElement::Type::Background, nullptr, &data});
        } else if (data.type == LayerType::Instances) {
            for (int id : data.instanceIds) {
                if (CInstance* instance = Instance_Find(id)) {
                    instance->element =
                        &Layer_AddElement(layer, {LayerElement::Type::Instance, instance, nullptr});
                }
            }
        }
    }
}

// Creation code is reported as an event is: its error ends the program through the report.
void RunCode(int codeId, CInstance* instance, const char* what, const std::string& owner) {
    if (const CodeEntry* entry = Code_Entry(codeId)) {
        ReportContextScope reportContext(what, owner.c_str());
        try {
            Code_Execute(*entry, instance, instance);
        } catch (const ScriptError& error) {
            ShowErrorReport(error);
        }
    }
}

std::string ObjectName(const CInstance* instance) {
    const CObject* object = Object_Get(instance->objectIndex);
    return object != nullptr ? object->name : "";
}

void CreateInstancesOfRoom(CRoom& room) {
    for (const RoomInstanceData& source : room.data->instances) {
        if (source.objectIndex < 0 || Object_Get(source.objectIndex) == nullptr) {
            continue;
        }
        // A persistent instance carried in from the last room keeps its place; no second copy is made.
        if (Instance_Find(source.id) != nullptr) {
            room.toCreate.push_back(source.id);
            continue;
        }
        CInstance* instance = Instance_Create(source.objectIndex, source.x, source.y, source.id);
        ApplyRoomInstanceData(instance, source);
        room.toCreate.push_back(source.id);
    }
}

void RunCreationEvents(CRoom& room) {
    const auto& sources = room.data->instances;
    for (size_t i = 0; i < room.toCreate.size(); ++i) {
        CInstance* instance = Instance_Find(room.toCreate[i]);
        if (instance == nullptr || instance->carriedOver || instance->markedDestroyed) {
            continue;
        }
        const RoomInstanceData* source = nullptr;
        for (const RoomInstanceData& candidate : sources) {
            if (candidate.id == instance->id) {
                source = &candidate;
            }
        }
        PerformEvent(instance, instance, instance->objectIndex, ev_pre_create, 0);
        if (source) {
            RunCode(source->preCreateCode, instance, "Instance PreCreation Code", ObjectName(instance));
        }
        PerformEvent(instance, instance, instance->objectIndex, ev_create, 0);
        if (source) {
            RunCode(source->creationCode, instance, "Instance Creation Code", ObjectName(instance));
        }
        instance->created = true;
    }
}
} // namespace

uint64_t Room_DispatchStamp() {
    return dispatchStamp;
}

void Room_SetDispatchStamp(uint64_t stamp) {
    dispatchStamp = stamp;
}

int Room_PendingRoom() {
    return pendingRoom;
}
void Room_SetPendingRoom(int room) {
    pendingRoom = room;
}
bool Room_CurrentIsPersistent() {
    return currentRoom && currentRoom->Persistent();
}
CRoom* Room_Current() {
    return currentRoom.get();
}

bool Room_Prepare(const GameData& data) {
    gameData = &data;
    nextInstanceId = static_cast<int>(data.general.lastObjectId);
    return true;
}

void Room_Reset() {
    currentRoom.reset();
    carryOver.clear();
    instancesById.clear();
    pendingRoom = NoPendingRoom;
    dispatchStamp = 0;
}

CInstance* Instance_Create(int objectIndex, double x, double y, int id) {
    CObject* object = Object_Get(objectIndex);
    auto instance = std::make_unique<CInstance>();
    instance->id = id > 0 ? id : ++nextInstanceId;
    instance->objectIndex = objectIndex;
    instance->x = instance->xprevious = x;
    instance->y = instance->yprevious = y;
    if (object) {
        instance->spriteIndex = object->spriteIndex;
        instance->visible = object->visible;
        instance->persistent = object->persistent;
        instance->depth = object->depth;
    }
    instance->createStamp = dispatchStamp;
    CInstance* raw = instance.get();
    instancesById[raw->id] = std::move(instance);
    if (object) {
        object->instances.push_back(raw);
    }
    if (currentRoom) {
        currentRoom->active.push_back(raw);
    }
    return raw;
}

CInstance* Instance_Find(int id) {
    auto found = instancesById.find(id);
    return found == instancesById.end() ? nullptr : found->second.get();
}

void Room_RemoveDestroyed() {
    std::vector<CInstance*> doomed;
    for (auto& [id, instance] : instancesById) {
        if (instance->markedDestroyed && !instance->carriedOver) {
            doomed.push_back(instance.get());
        }
    }
    for (CInstance* instance : doomed) {
        Destroy(instance);
    }
}

void Room_Start(int roomIndex, bool first) {
    pendingRoom = NoPendingRoom;
    currentRoom = std::make_unique<CRoom>();
    currentRoom->index = roomIndex;
    currentRoom->data = &gameData->rooms.at(roomIndex);
    CreateInstancesOfRoom(*currentRoom);
    BuildLayers(*currentRoom);
    for (CInstance* instance : carryOver) {
        instance->markedDestroyed = false;
        currentRoom->active.push_back(instance);
        if (CObject* object = Object_Get(instance->objectIndex)) {
            object->instances.push_back(instance);
        }
    }
    RunCreationEvents(*currentRoom);
    for (CInstance* instance : carryOver) {
        instance->carriedOver = false;
    }
    carryOver.clear();
    Room_RemoveDestroyed();
    if (first) {
        Room_RunEventForAll(ev_other, ev_game_start);
        Room_RemoveDestroyed();
    }
    RunCode(currentRoom->data->creationCode, GlobalObject(), "Room Creation Code", currentRoom->data->name);
    Room_RunEventForAll(ev_other, ev_room_start);
    Room_RemoveDestroyed();
}

void Room_End(bool gameEnding) {
    if (!currentRoom) {
        return;
    }
    Room_RemoveDestroyed();
    int savedPending = pendingRoom;
    pendingRoom = NoPendingRoom;
    Room_RunEventForAll(ev_other, ev_room_end);
    Room_RemoveDestroyed();
    if (gameEnding) {
        for (size_t i = 0; i < currentRoom->active.size(); ++i) {
            CInstance* instance = currentRoom->active[i];
            if (instance->persistent) {
                PerformEvent(instance, instance, instance->objectIndex, ev_cleanup, 0);
            }
        }
        Room_RunEventForAll(ev_other, ev_game_end);
        Room_RemoveDestroyed();
    }
    pendingRoom = savedPending;
    for (CInstance* instance : currentRoom->active) {
        if (instance->persistent && !instance->markedDestroyed && !instance->deactivated) {
            carryOver.push_back(instance);
            instance->carriedOver = true;
        }
    }
    for (CInstance* instance : carryOver) {
        Unlink(instance);
    }
    if (!currentRoom->Persistent()) {
        std::vector<CInstance*> remaining = currentRoom->active;
        for (CInstance* instance : remaining) {
            if (!instance->markedDestroyed && !instance->deactivated && !instance->persistent) {
                PerformEvent(instance, instance, instance->objectIndex, ev_cleanup, 0);
            }
        }
        for (CInstance* instance : remaining) {
            Destroy(instance);
        }
        currentRoom.reset();
    }
}

void Room_EndGame() {
    Room_End(true);
    currentRoom.reset();
    carryOver.clear();
    instancesById.clear();
}

void Room_RunEventForAll(int type, int subtype) {
    if (!currentRoom || pendingRoom != NoPendingRoom) {
        return;
    }
    auto& active = currentRoom->active;
    for (size_t i = 0; i < active.size(); ++i) {
        CInstance* instance = active[i];
        if (!instance->markedDestroyed && !instance->deactivated) {
            PerformEvent(instance, instance, instance->objectIndex, type, subtype);
        }
    }
}

void Room_DispatchStep(int subtype) {
    uint64_t stamp = dispatchStamp++;
    const std::vector<EventHandler>& handlers = Object_EventHandlers(ev_step, subtype);
    for (size_t objectIndex = 0; objectIndex < handlers.size(); ++objectIndex) {
        CObject* object = handlers[objectIndex].owner != nullptr ? Object_Get(int(objectIndex)) : nullptr;
        for (size_t i = 0; object != nullptr && i < object->instances.size(); ++i) {
            CInstance* instance = object->instances[i];
            if (!instance->markedDestroyed && !instance->deactivated && instance->createStamp <= stamp) {
                PerformEvent(instance, instance, handlers[objectIndex], ev_step, subtype);
            }
        }
    }
}

namespace {
// Walks the layers deepest first; `visit` handles one instance element.
template <typename F> void WalkInstanceElements(F&& visit, bool drawBackgrounds) {
    if (!currentRoom) {
        return;
    }
    currentRoom->layers.ForEachDeepestFirst([&](Layer& layer) {
        if (!layer.visible) {
            return;
        }
        for (const LayerElement& element : layer.elements) {
            if (element.type == LayerElement::Type::Background) {
                if (drawBackgrounds) {
                    Graphics_DrawBackground(*element.background);
                }
                continue;
            }
            CInstance* instance = element.instance;
            if (instance->deactivated) {
                break;
            }
            if (!instance->markedDestroyed && instance->visible && Object_Get(instance->objectIndex)) {
                visit(instance);
            }
        }
    });
}
} // namespace

void Room_DispatchDraw(int subtype) {
    // Most draw events have no code anywhere; walking the layers for them cost every frame.
    const std::vector<EventHandler>& handlers = Object_EventHandlers(ev_draw, subtype);
    if (handlers.empty()) {
        return;
    }
    WalkInstanceElements(
        [&](CInstance* instance) {
            // Walked instances are of existing objects, each of which has its handler.
            const EventHandler& handler = handlers[size_t(instance->objectIndex)];
            if (handler.owner != nullptr) {
                PerformEvent(instance, instance, handler, ev_draw, subtype);
            }
        },
        false);
}

void Room_DrawLayers() {
    const std::vector<EventHandler>& handlers = Object_EventHandlers(ev_draw, ev_draw_normal);
    WalkInstanceElements(
        [&](CInstance* instance) {
            const size_t object = size_t(instance->objectIndex);
            if (object < handlers.size() && handlers[object].owner != nullptr) {
                PerformEvent(instance, instance, handlers[object], ev_draw, ev_draw_normal);
            } else if (instance->spriteIndex >= 0) {
                Graphics_DrawInstance(instance);
            }
        },
        true);
}
