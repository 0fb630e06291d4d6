// One registration function per family of built-ins; Function_RegisterAll calls them in this order.
#pragma once

void Register_Game();        // event_inherited, game_end          (Function_Game)
void Register_String();      // string_*, is_real, round, clamp     (Function_String)
void Register_File();        // file_*, filename_*, date_*          (Function_File)
void Register_Interaction(); // dialogs and message boxes           (Function_Interaction)
void Register_External();    // external_define, external_call      (Function_External)
void Register_Graphics();    // draw_*, string_width, font_, sprite_ (Function_Graphics)
void Register_Window();      // window_*, display_*, mouse_*, surface_* (Function_Window)
void Register_Audio();       // audio_*                             (Function_Audio)
void Register_Handed();      // file_handed_next                    (Function_Handed)
