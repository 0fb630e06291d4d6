// Running one event of one instance, and the current-event context.
#pragma once

struct CInstance;
struct EventHandler;

struct EventContext {
    int objectIndex = -1;
    int type = -1;
    int subtype = -1;
};

constexpr int MaxEventRecursion = 32;

// Runs (type, subtype) of `objectIndex` (or the nearest ancestor that has it) for self/other.
void PerformEvent(CInstance* self, CInstance* other, int objectIndex, int type, int subtype);
// The same with the handler already found (as a frame's dispatch has it).
void PerformEvent(CInstance* self, CInstance* other, const EventHandler& handler, int type, int subtype);
const EventContext& CurrentEventContext();
// The name error reports give an event ("Step Event", "Draw GUI Event", ...).
const char* EventName(int type, int subtype);
