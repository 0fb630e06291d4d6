// The tool's wiring: the code id of every script, object event and global init script, and the
// compiled function it runs. The game data writer (tools/gamedata) and the compiled-code table
// (app/Tool_Game.cpp) are both built from this one list: an event is added here and nowhere else.
//
//   SCRIPT(id, script)                                     its function is the script itself
//   EVENT(id, object, event type, subtype, function)       Create, Step, Draw, CleanUp, PreCreate
//   GLOBAL(id, function)                                   run in this order at preparation
#pragma once

#define TOOL_WIRING(SCRIPT, EVENT, GLOBAL)                                                                   \
    SCRIPT(0, dll_init)                                                                                      \
    SCRIPT(1, cmd)                                                                                           \
    SCRIPT(2, mouse_region)                                                                                  \
    SCRIPT(3, byte_get_size)                                                                                 \
    SCRIPT(4, byte_get_format)                                                                               \
    SCRIPT(5, make_color_hex)                                                                                \
    SCRIPT(6, sys_config)                                                                                    \
    EVENT(7, obj_cleanup, Step, 1, obj_cleanup_BeginStep)                                                    \
    EVENT(8, obj_cleanup, CleanUp, 0, obj_cleanup_CleanUp)                                                   \
    EVENT(9, obj_cleanup, PreCreate, 0, PreCreate_inherited)                                                 \
    EVENT(10, obj_win, Create, 0, obj_win_Create)                                                            \
    EVENT(11, obj_win, Step, 0, obj_win_Step)                                                                \
    EVENT(12, obj_win, Draw, 0, obj_win_Draw)                                                                \
    EVENT(13, obj_win, Draw, 64, obj_win_DrawGUI)                                                            \
    EVENT(14, obj_win, PreCreate, 0, PreCreate_inherited)                                                    \
    EVENT(15, obj_ico, Create, 0, obj_ico_Create)                                                            \
    EVENT(16, obj_ico, Draw, 64, obj_ico_DrawGUI)                                                            \
    EVENT(17, obj_ico, Draw, 0, obj_ico_Draw)                                                                \
    EVENT(18, obj_ico, PreCreate, 0, PreCreate_inherited)                                                    \
    EVENT(19, obj_menu_status, Create, 0, obj_menu_status_Create)                                            \
    EVENT(20, obj_menu_status, Draw, 0, obj_menu_status_Draw)                                                \
    EVENT(21, obj_menu_status, PreCreate, 0, PreCreate_inherited)                                            \
    EVENT(22, obj_menu_import, Create, 0, obj_menu_import_Create)                                            \
    EVENT(23, obj_menu_import, Step, 0, obj_menu_import_Step)                                                \
    EVENT(24, obj_menu_import, Draw, 0, menu_button_Draw)                                                    \
    EVENT(25, obj_menu_import, PreCreate, 0, PreCreate_inherited)                                            \
    EVENT(26, obj_menu_export, Create, 0, obj_menu_export_Create)                                            \
    EVENT(27, obj_menu_export, Step, 0, obj_menu_export_Step)                                                \
    EVENT(28, obj_menu_export, Draw, 0, menu_button_Draw)                                                    \
    EVENT(29, obj_menu_export, PreCreate, 0, PreCreate_inherited)                                            \
    EVENT(30, obj_menu_replace, Create, 0, obj_menu_replace_Create)                                          \
    EVENT(31, obj_menu_replace, Step, 0, obj_menu_replace_Step)                                              \
    EVENT(32, obj_menu_replace, Draw, 0, menu_button_Draw)                                                   \
    EVENT(33, obj_menu_replace, PreCreate, 0, PreCreate_inherited)                                           \
    EVENT(34, obj_menu_play, Create, 0, obj_menu_play_Create)                                                \
    EVENT(35, obj_menu_play, Step, 0, obj_menu_play_Step)                                                    \
    EVENT(36, obj_menu_play, Draw, 0, menu_button_Draw)                                                      \
    EVENT(37, obj_menu_play, PreCreate, 0, PreCreate_inherited)                                              \
    EVENT(38, obj_menu_about, Create, 0, obj_menu_about_Create)                                              \
    EVENT(39, obj_menu_about, Step, 0, obj_menu_about_Step)                                                  \
    EVENT(40, obj_menu_about, Draw, 0, menu_button_Draw)                                                     \
    EVENT(41, obj_menu_about, PreCreate, 0, PreCreate_inherited)                                             \
    EVENT(42, obj_menu_restore, Create, 0, obj_menu_restore_Create)                                          \
    EVENT(43, obj_menu_restore, Step, 0, obj_menu_restore_Step)                                              \
    EVENT(44, obj_menu_restore, Draw, 0, obj_menu_restore_Draw)                                              \
    EVENT(45, obj_menu_restore, PreCreate, 0, PreCreate_inherited)                                           \
    EVENT(46, obj_splash, Create, 0, obj_splash_Create)                                                      \
    EVENT(47, obj_splash, Step, 0, obj_splash_Step)                                                          \
    EVENT(48, obj_splash, Draw, 0, obj_splash_Draw)                                                          \
    EVENT(49, obj_splash, PreCreate, 0, PreCreate_inherited)                                                 \
    GLOBAL(50, GlobalScript_0)                                                                               \
    GLOBAL(51, GlobalScript_1)
