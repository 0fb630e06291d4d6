#include "Code/Code_Function.h"
#include "Function/Function_Families.h"
#include "Runner/Runner_Quiet.h"
#include "Sound/Audio_Main.h"

namespace {
int HandleArg(int argc, RValue* args) {
    return ArgInt(argc, args, 0);
}

void F_AudioCreateStream(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("audio_create_stream");
    const char* name = ArgText(argc, args, 0);
    result = RValue(Audio_CreateStream(name != nullptr ? name : ""));
}

void F_AudioDestroyStream(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("audio_destroy_stream");
    result = RValue(Audio_DestroyStream(HandleArg(argc, args)));
}

void F_AudioPlaySound(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("audio_play_sound");
    bool loop = ArgReal(argc, args, 2) >= 1;
    result = RValue(Audio_PlaySound(HandleArg(argc, args), ArgReal(argc, args, 1), loop));
}

void F_AudioStopSound(RValue&, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("audio_stop_sound");
    Audio_StopSound(HandleArg(argc, args));
}

void F_AudioPauseSound(RValue&, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("audio_pause_sound");
    Audio_PauseSound(HandleArg(argc, args));
}

void F_AudioResumeSound(RValue&, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("audio_resume_sound");
    Audio_ResumeSound(HandleArg(argc, args));
}

void F_AudioIsPlaying(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("audio_is_playing");
    result = RValue::Bool(Audio_IsPlaying(HandleArg(argc, args)));
}

void F_AudioIsPaused(RValue& result, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("audio_is_paused");
    result = RValue::Bool(Audio_IsPaused(HandleArg(argc, args)));
}

void F_AudioMasterGain(RValue&, CInstance*, CInstance*, int argc, RValue* args) {
    Runner_MarkFrame("audio_master_gain");
    Audio_MasterGain(ArgReal(argc, args, 0));
}
} // namespace

void Register_Audio() {
    Function_Add("audio_create_stream", F_AudioCreateStream, 1);
    Function_Add("audio_destroy_stream", F_AudioDestroyStream, 1);
    Function_Add("audio_play_sound", F_AudioPlaySound, 3);
    Function_Add("audio_stop_sound", F_AudioStopSound, 1);
    Function_Add("audio_pause_sound", F_AudioPauseSound, 1);
    Function_Add("audio_resume_sound", F_AudioResumeSound, 1);
    Function_Add("audio_is_playing", F_AudioIsPlaying, 1);
    Function_Add("audio_is_paused", F_AudioIsPaused, 1);
    Function_Add("audio_master_gain", F_AudioMasterGain, 1);
}
