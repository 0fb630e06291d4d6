// Voices: the playing instances of sounds and streams, one OpenAL source each.
// Every member function expects OggMutex to be held.
#pragma once
#include "Sound/Audio_Ogg.h"
#include <AL/al.h>
#include <functional>
#include <memory>
#include <vector>

constexpr int StreamHandleBase = 300000;
constexpr int VoiceHandleBase = 400000;

struct Voice {
    explicit Voice(ALuint source) : source(source) {}

    // A voice handle names this voice; a lower handle names every voice of that sound or stream.
    bool Matches(int handle) const { return active && (handle >= VoiceHandleBase ? id : sound) == handle; }
    bool SourcePaused() const;
    // Stops the source and the decoding channel; the voice becomes free.
    void Stop();
    void Pause();
    void Resume();

    ALuint source;
    int id = 0;    // voice handle
    int sound = 0; // handle of the sound or stream it plays
    double priority = 0;
    bool active = false;
    std::unique_ptr<OggChannel> channel; // the stream's decoder, shared with the ogg thread
};

class VoicePool {
  public:
    explicit VoicePool(const std::vector<ALuint>& sources);

    // A voice for a new sound of `priority`: the first free one; else a new one while sources
    // remain; else the lowest-priority voice below `priority`, stopped first. nullptr if none.
    Voice* Take(double priority);
    void ForEachMatching(int handle, const std::function<void(Voice&)>& action);
    bool AnyMatching(int handle, const std::function<bool(const Voice&)>& test) const;
    // Whether any voice plays and is not paused.
    bool AnySounding() const;
    // Frees the voices whose stream has played out; true when there were any.
    bool ReapFinished();
    // The ogg thread's pass; false when no voice has a channel to feed (a paused one needs none until
    // it resumes). `ended` is called when a stream plays out in it.
    bool ServiceChannels(const std::function<void()>& ended);

  private:
    Voice* LowestPriorityBelow(double priority);

    const std::vector<ALuint>& sources_;
    std::vector<Voice> voices_;
};
