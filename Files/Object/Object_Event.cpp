#include "Object/Object_Event.h"
#include "Code/Code_Error.h"
#include "Code/Code_Main.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Room/Room_Main.h"
#include <string>

namespace {
EventContext current;
int recursionDepth = 0;

bool MayRun(const CInstance* self, int type) {
    if (type == ev_cleanup) {
        return !ErrorPending();
    }
    if (Room_PendingRoom() == NoPendingRoom) {
        return true;
    }
    bool persistentContext = self->persistent || Room_CurrentIsPersistent();
    bool allowedType = type == ev_create || type == ev_pre_create || type == ev_destroy || type == ev_alarm ||
                       type == ev_other;
    return persistentContext && allowedType;
}

// Saves and restores the context and the recursion depth around one event.
class EventScope {
  public:
    EventScope(const EventContext& context) : saved_(current) {
        current = context;
        ++recursionDepth;
    }
    ~EventScope() {
        current = saved_;
        --recursionDepth;
    }

  private:
    EventContext saved_;
};
} // namespace

const EventContext& CurrentEventContext() {
    return current;
}

const char* EventName(int type, int subtype) {
    switch (type) {
    case ev_create:
        return "Create Event";
    case ev_destroy:
        return "Destroy Event";
    case ev_alarm:
        return "Alarm Event";
    case ev_step:
        return subtype == ev_step_begin ? "Begin Step Event"
               : subtype == ev_step_end ? "End Step Event"
                                        : "Step Event";
    case ev_other:
        return "Other Event";
    case ev_draw:
        return subtype == ev_gui ? "Draw GUI Event" : "Draw Event";
    case ev_cleanup:
        return "Clean Up Event";
    case ev_pre_create:
        return "PreCreate Event";
    default:
        return "Event";
    }
}

void PerformEvent(CInstance* self, CInstance* other, int objectIndex, int type, int subtype) {
    PerformEvent(self, other, Object_FindEventHandler(objectIndex, type, subtype), type, subtype);
}

void PerformEvent(CInstance* self, CInstance* other, const EventHandler& handler, int type, int subtype) {
    CObject* owner = handler.owner;
    if (owner == nullptr || !MayRun(self, type)) {
        return;
    }
    if (recursionDepth + 1 > MaxEventRecursion) {
        // shown, and the event is skipped: the program goes on
        ReportError(
            "PerformEvent recursion depth failure - check for infinite loops, check objects for parenting");
        return;
    }
    EventScope scope({owner->index, type, subtype});
    ReportContextScope reportContext(EventName(type, subtype), owner->name.c_str());
    try {
        Code_Execute(*handler.code, self, other);
    } catch (const ScriptError& error) {
        ShowErrorReport(error);
    }
}
