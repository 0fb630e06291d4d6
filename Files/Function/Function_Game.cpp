#include "Code/Code_Function.h"
#include "Function/Function_Families.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Room/Room_Main.h"
#include "Runner/Runner_Quiet.h"

namespace {
void event_inherited(RValue& result, CInstance* self, CInstance* other, int, RValue*) {
    result = RValue(0.0);
    const EventContext context = CurrentEventContext();
    CObject* owner = Object_Get(context.objectIndex);
    CObject* parent = owner ? owner->Parent() : nullptr;
    if (parent != nullptr) {
        PerformEvent(self, other, parent->index, context.type, context.subtype);
    }
}

void game_end(RValue& result, CInstance*, CInstance*, int, RValue*) {
    Runner_MarkFrame("game_end");
    result = RValue(0.0);
    Room_SetPendingRoom(PendingGameEnd);
}
} // namespace

void Register_Game() {
    Function_Add("event_inherited", event_inherited, 0);
    Function_Add("game_end", game_end, 0);
}
