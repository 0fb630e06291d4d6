// The tool's compiled code: seven scripts, the object events and the two global init scripts.
#pragma once
#include "app/Tool_Runtime.h"

namespace tool {

// Scripts, as compiled code calls them.
#define TOOL_SCRIPT(name)                                                                                    \
    RValue& name(CInstance* self, CInstance* other, RValue& result, int argc, RValue** args);
TOOL_SCRIPT(dll_init)
TOOL_SCRIPT(cmd)
TOOL_SCRIPT(mouse_region)
TOOL_SCRIPT(byte_get_size)
TOOL_SCRIPT(byte_get_format)
TOOL_SCRIPT(make_color_hex)
TOOL_SCRIPT(sys_config)
#undef TOOL_SCRIPT

// Calls a script with the running event's self and other.
template <typename... Args> RValue call_script(ScriptFunction script, Args&&... values) {
    RValue arguments[sizeof...(Args) + 1] = {RValue(std::forward<Args>(values))...};
    RValue* pointers[sizeof...(Args) + 1];
    for (size_t i = 0; i < sizeof...(Args); ++i) {
        pointers[i] = &arguments[i];
    }
    RValue result;
    script(Self(), Other(), result, static_cast<int>(sizeof...(Args)), pointers);
    return result;
}

// Script argument i, undefined when not given.
const RValue& argument(int argc, RValue** args, int i);

// Events: native functions of (self, other).
#define TOOL_EVENT(name) void name(CInstance* self, CInstance* other);
TOOL_EVENT(PreCreate_inherited)
TOOL_EVENT(obj_cleanup_BeginStep)
TOOL_EVENT(obj_cleanup_CleanUp)
TOOL_EVENT(obj_win_Create)
TOOL_EVENT(obj_win_Step)
TOOL_EVENT(obj_win_Draw)
TOOL_EVENT(obj_win_DrawGUI)
TOOL_EVENT(obj_ico_Create)
TOOL_EVENT(obj_ico_DrawGUI)
TOOL_EVENT(obj_ico_Draw)
TOOL_EVENT(obj_menu_status_Create)
TOOL_EVENT(obj_menu_status_Draw)
TOOL_EVENT(obj_menu_import_Create)
TOOL_EVENT(obj_menu_import_Step)
TOOL_EVENT(obj_menu_export_Create)
TOOL_EVENT(obj_menu_export_Step)
TOOL_EVENT(obj_menu_replace_Create)
TOOL_EVENT(obj_menu_replace_Step)
TOOL_EVENT(obj_menu_play_Create)
TOOL_EVENT(obj_menu_play_Step)
TOOL_EVENT(obj_menu_about_Create)
TOOL_EVENT(obj_menu_about_Step)
TOOL_EVENT(obj_menu_restore_Create)
TOOL_EVENT(obj_menu_restore_Step)
TOOL_EVENT(obj_menu_restore_Draw)
TOOL_EVENT(menu_button_Draw)
TOOL_EVENT(obj_splash_Create)
TOOL_EVENT(obj_splash_Step)
TOOL_EVENT(obj_splash_Draw)
TOOL_EVENT(GlobalScript_0)
TOOL_EVENT(GlobalScript_1)
#undef TOOL_EVENT

} // namespace tool
