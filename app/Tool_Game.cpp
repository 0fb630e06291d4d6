#include "app/Tool_Game.h"
#include "app/Tool_Code.h"
#include <array>

namespace tool {
namespace {
#define TOOL_NAME(name) #name,
#define TOOL_INDEX(name) index_##name,
enum BuiltinIndex { TOOL_BUILTINS(TOOL_INDEX) BuiltinCount };
FunctionReference functionReferences[] = {
#define TOOL_FUNCTION_REFERENCE(name) {#name, -1},
    TOOL_BUILTINS(TOOL_FUNCTION_REFERENCE)
#undef TOOL_FUNCTION_REFERENCE
};

// The 35 tool variables with their slots, then the built-in variables (resolved at load).
constexpr const char* toolVariableNames[] = {"dos",
                                             "init",
                                             "mouse_drag",
                                             "menu_focus",
                                             "menu_index",
                                             "file_path",
                                             "file_src",
                                             "file_stream",
                                             "file_vol",
                                             "skin_gui_width",
                                             "skin_gui_height",
                                             "skin_main_fnt",
                                             "skin_main_fnt_color",
                                             "skin_main_gui_color",
                                             "skin_main_gui_alt",
                                             "skin_main_gui_width",
                                             "skin_main_gui_height",
                                             "skin_main_img_bg",
                                             "mouse_drag_x",
                                             "mouse_drag_y",
                                             "menu_alpha",
                                             "menu_enabled",
                                             "menu_current",
                                             "skin_change",
                                             "btn_color",
                                             "btn_label",
                                             "btn_release",
                                             "btn_state",
                                             "btn_active",
                                             "str_attrib",
                                             "str_progress",
                                             "str_anim",
                                             "prog",
                                             "prog_previous",
                                             "time"};
static_assert(std::size(toolVariableNames) == VariableCount);
constexpr const char* builtinVariableNames[] = {TOOL_BUILTIN_VARIABLES(TOOL_NAME)};
constexpr size_t BuiltinVariableCount = std::size(builtinVariableNames);

std::array<VariableReference, VariableCount + BuiltinVariableCount> MakeVariableReferences() {
    std::array<VariableReference, VariableCount + BuiltinVariableCount> references{};
    for (int slot = 0; slot < VariableCount; ++slot) {
        references[slot] = {toolVariableNames[slot], slot};
    }
    for (size_t i = 0; i < BuiltinVariableCount; ++i) {
        references[VariableCount + i] = {builtinVariableNames[i], -1};
    }
    return references;
}
auto variableReferences = MakeVariableReferences();

template <ScriptFunction Script> void RunScriptAsEntry(CInstance* self, CInstance* other) {
    RValue result;
    Script(self, other, result, 0, nullptr);
}

const CodeTableEntry codeTable[] = {
    {"Script_dll_init", RunScriptAsEntry<dll_init>},
    {"Script_cmd", RunScriptAsEntry<cmd>},
    {"Script_mouse_region", RunScriptAsEntry<mouse_region>},
    {"Script_byte_get_size", RunScriptAsEntry<byte_get_size>},
    {"Script_byte_get_format", RunScriptAsEntry<byte_get_format>},
    {"Script_make_color_hex", RunScriptAsEntry<make_color_hex>},
    {"Script_sys_config", RunScriptAsEntry<sys_config>},
    {"Object_obj_cleanup_Step_1", obj_cleanup_BeginStep},
    {"Object_obj_cleanup_CleanUp_0", obj_cleanup_CleanUp},
    {"Object_obj_cleanup_PreCreate_0", PreCreate_inherited},
    {"Object_obj_win_Create_0", obj_win_Create},
    {"Object_obj_win_Step_0", obj_win_Step},
    {"Object_obj_win_Draw_0", obj_win_Draw},
    {"Object_obj_win_Draw_64", obj_win_DrawGUI},
    {"Object_obj_win_PreCreate_0", PreCreate_inherited},
    {"Object_obj_ico_Create_0", obj_ico_Create},
    {"Object_obj_ico_Draw_64", obj_ico_DrawGUI},
    {"Object_obj_ico_Draw_0", obj_ico_Draw},
    {"Object_obj_ico_PreCreate_0", PreCreate_inherited},
    {"Object_obj_menu_status_Create_0", obj_menu_status_Create},
    {"Object_obj_menu_status_Draw_0", obj_menu_status_Draw},
    {"Object_obj_menu_status_PreCreate_0", PreCreate_inherited},
    {"Object_obj_menu_import_Create_0", obj_menu_import_Create},
    {"Object_obj_menu_import_Step_0", obj_menu_import_Step},
    {"Object_obj_menu_import_Draw_0", menu_button_Draw},
    {"Object_obj_menu_import_PreCreate_0", PreCreate_inherited},
    {"Object_obj_menu_export_Create_0", obj_menu_export_Create},
    {"Object_obj_menu_export_Step_0", obj_menu_export_Step},
    {"Object_obj_menu_export_Draw_0", menu_button_Draw},
    {"Object_obj_menu_export_PreCreate_0", PreCreate_inherited},
    {"Object_obj_menu_replace_Create_0", obj_menu_replace_Create},
    {"Object_obj_menu_replace_Step_0", obj_menu_replace_Step},
    {"Object_obj_menu_replace_Draw_0", menu_button_Draw},
    {"Object_obj_menu_replace_PreCreate_0", PreCreate_inherited},
    {"Object_obj_menu_play_Create_0", obj_menu_play_Create},
    {"Object_obj_menu_play_Step_0", obj_menu_play_Step},
    {"Object_obj_menu_play_Draw_0", menu_button_Draw},
    {"Object_obj_menu_play_PreCreate_0", PreCreate_inherited},
    {"Object_obj_menu_about_Create_0", obj_menu_about_Create},
    {"Object_obj_menu_about_Step_0", obj_menu_about_Step},
    {"Object_obj_menu_about_Draw_0", menu_button_Draw},
    {"Object_obj_menu_about_PreCreate_0", PreCreate_inherited},
    {"Object_obj_menu_restore_Create_0", obj_menu_restore_Create},
    {"Object_obj_menu_restore_Step_0", obj_menu_restore_Step},
    {"Object_obj_menu_restore_Draw_0", obj_menu_restore_Draw},
    {"Object_obj_menu_restore_PreCreate_0", PreCreate_inherited},
    {"Object_obj_splash_Create_0", obj_splash_Create},
    {"Object_obj_splash_Step_0", obj_splash_Step},
    {"Object_obj_splash_Draw_0", obj_splash_Draw},
    {"Object_obj_splash_PreCreate_0", PreCreate_inherited},
    {"GlobalScript_0", GlobalScript_0},
    {"GlobalScript_1", GlobalScript_1},
};
static_assert(std::size(codeTable) == 52);
#undef TOOL_NAME
#undef TOOL_INDEX
} // namespace

namespace refs {
#define TOOL_DEFINE_REFERENCE(name) FunctionReference& name = functionReferences[index_##name];
TOOL_BUILTINS(TOOL_DEFINE_REFERENCE)
#undef TOOL_DEFINE_REFERENCE
} // namespace refs

VariableReference& BuiltinVariableReference(BV variable) {
    return variableReferences[VariableCount + static_cast<int>(variable)];
}
} // namespace tool

const EmbeddedGame& Tool_Game(const uint8_t* data, size_t length) {
    static EmbeddedGame game;
    game = EmbeddedGame{data,
                        length,
                        tool::VariableCount,
                        tool::VariableCount,
                        static_cast<int>(std::size(tool::codeTable)),
                        tool::variableReferences.data(),
                        tool::variableReferences.size(),
                        tool::functionReferences,
                        std::size(tool::functionReferences),
                        tool::codeTable};
    return game;
}
