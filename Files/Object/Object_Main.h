// Objects: the templates instances are made from, their event tables and the event object lists.
#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

struct CInstance;
struct GameData;

enum EventType {
    ev_create = 0,
    ev_destroy = 1,
    ev_alarm = 2,
    ev_step = 3,
    ev_collision = 4,
    ev_keyboard = 5,
    ev_mouse = 6,
    ev_other = 7,
    ev_draw = 8,
    ev_keypress = 9,
    ev_keyrelease = 10,
    ev_trigger = 11,
    ev_cleanup = 12,
    ev_gesture = 13,
    ev_pre_create = 14,
};

enum EventSubtype {
    ev_step_normal = 0,
    ev_step_begin = 1,
    ev_step_end = 2,
    ev_game_start = 2,
    ev_game_end = 3,
    ev_room_start = 4,
    ev_room_end = 5,
    ev_animation_end = 7,
    ev_end_of_path = 8,
    ev_draw_normal = 0,
    ev_gui = 64,
    ev_draw_resize = 65,
    ev_draw_begin = 72,
    ev_draw_end = 73,
    ev_gui_begin = 74,
    ev_gui_end = 75,
    ev_draw_pre = 76,
    ev_draw_post = 77,
};

constexpr int NoParent = -100;

struct CObject {
    int index = -1;
    std::string name;
    int spriteIndex = -1;
    bool visible = true, solid = false, persistent = false;
    int depth = 0;
    int parentIndex = NoParent;
    int maskIndex = -1;
    // (type, subtype) → code id of the event's single action
    std::map<std::pair<int, int>, int> events;
    std::vector<CInstance*> instances; // live instances, in creation order

    CObject* Parent() const;
};

// Builds the objects from the data; false (with the message logged) when an event names no code.
bool Object_Prepare(const GameData& data);
void Object_Clear();
CObject* Object_Get(int index);
int Object_Count();
struct CodeEntry;
// What runs (type, subtype) for an object: the object it is found on walking up, and that one's code.
struct EventHandler {
    CObject* owner = nullptr; // nullptr: the event is nowhere
    const CodeEntry* code = nullptr;
};
// Worked out once per (object, type, subtype), as every frame asks again.
const EventHandler& Object_FindEventHandler(int index, int type, int subtype);

// Event lists, built once per game start: for a (type, subtype) some object has (own or inherited),
// every object's handler by object index; else empty. A frame dispatches from these, objects in
// ascending order, without a lookup per instance.
void Object_BuildEventLists();
const std::vector<EventHandler>& Object_EventHandlers(int type, int subtype);
