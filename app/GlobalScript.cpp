#include "app/Tool_Code.h"

namespace tool {
// The two global init scripts, run before any room exists.
void GlobalScript_0(CInstance* self, CInstance* other) {
    Frame frame(self, other, "GlobalScript_0");
    frame.line(1);
    call_script(dll_init);
}

void GlobalScript_1(CInstance* self, CInstance* other) {
    Frame frame(self, other, "GlobalScript_1");
    frame.line(1);
    call_script(sys_config);
}

// Every PreCreate of the tool only inherits (no object has a parent).
void PreCreate_inherited(CInstance* self, CInstance* other) {
    Frame frame(self, other, "PreCreate_0");
    frame.line(1);
    event_inherited();
}
} // namespace tool
