// The audio layer: streams played through OpenAL, decoded on the ogg thread.
// When no output device opens the layer stays off and every function below does nothing.
#pragma once
#include <functional>
#include <string_view>

// Start-up: begins opening the output device on a helper thread, so that it proceeds while the
// game loads; Audio_Init takes it from there.
void Audio_BeginOpening();
// Start-up: opens the device (or takes the one being opened) and makes the voice pool's sources.
// False when sound is off.
bool Audio_Init();
// Once per frame on the main thread: frees the voices whose stream has played out.
void Audio_Tick();
// `ended` is called on the ogg thread when a stream plays out, so that a sleeping frame loop wakes to
// free its voice.
void Audio_OnStreamEnd(std::function<void()> ended);
// Stops the ogg thread and frees every voice, buffer, source and the device.
void Audio_Shutdown();

// The built-ins (main thread). Handles are numbers: streams from 300000, voices from 400000.
// A stream handle, -1 when the file is missing (or sound is off).
int Audio_CreateStream(std::string_view name);
// 1, or -1 when the handle names no stream.
int Audio_DestroyStream(int handle);
// A voice handle; 0 when the handle names no sound or stream, -1 when no voice is free.
int Audio_PlaySound(int handle, double priority, bool loop);
void Audio_StopSound(int handle);
void Audio_PauseSound(int handle);
void Audio_ResumeSound(int handle);
bool Audio_IsPlaying(int handle);
bool Audio_IsPaused(int handle);
// Listener gain; a negative gain counts as 0, no upper limit.
void Audio_MasterGain(double gain);
