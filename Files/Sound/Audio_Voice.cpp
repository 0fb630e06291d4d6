#include "Sound/Audio_Voice.h"
#include "Runner/Runner_Log.h"
#include <algorithm>

bool Voice::SourcePaused() const {
    ALint state = AL_INITIAL;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PAUSED;
}

void Voice::Stop() {
    alGetError(); // errors of earlier calls are not ours to report
    alSourceStop(source);
    if (ALenum error = alGetError(); error != AL_NO_ERROR) {
        Runner_Log("Error stopping sound %d error code %d\n", id, error);
    }
    channel.reset();
    active = false;
}

void Voice::Pause() {
    alGetError();
    channel->Pause();
    if (ALenum error = alGetError(); error != AL_NO_ERROR) {
        Runner_Log("Error pausing sound %d error code %d\n", id, error);
    }
}

void Voice::Resume() {
    channel->Resume();
}

VoicePool::VoicePool(const std::vector<ALuint>& sources) : sources_(sources) {
    voices_.reserve(sources.size());
}

Voice* VoicePool::Take(double priority) {
    auto free =
        std::find_if(voices_.begin(), voices_.end(), [](const Voice& voice) { return !voice.active; });
    if (free != voices_.end()) {
        return &*free;
    }
    if (voices_.size() < sources_.size()) {
        return &voices_.emplace_back(sources_[voices_.size()]);
    }
    Voice* victim = LowestPriorityBelow(priority);
    if (victim != nullptr) {
        victim->Stop();
    }
    return victim;
}

Voice* VoicePool::LowestPriorityBelow(double priority) {
    Voice* lowest = nullptr;
    for (Voice& voice : voices_) {
        if (voice.priority < priority && (lowest == nullptr || voice.priority < lowest->priority)) {
            lowest = &voice;
        }
    }
    return lowest;
}

void VoicePool::ForEachMatching(int handle, const std::function<void(Voice&)>& action) {
    for (Voice& voice : voices_) {
        if (voice.Matches(handle)) {
            action(voice);
        }
    }
}

bool VoicePool::AnyMatching(int handle, const std::function<bool(const Voice&)>& test) const {
    return std::any_of(voices_.begin(), voices_.end(),
                       [&](const Voice& voice) { return voice.Matches(handle) && test(voice); });
}

bool VoicePool::AnySounding() const {
    return std::any_of(voices_.begin(), voices_.end(), [](const Voice& voice) {
        return voice.active && voice.channel && !voice.channel->Paused();
    });
}

bool VoicePool::ReapFinished() {
    bool any = false;
    for (Voice& voice : voices_) {
        if (voice.active && voice.channel->Finished()) {
            voice.Stop();
            any = true;
        }
    }
    return any;
}

bool VoicePool::ServiceChannels(const std::function<void()>& ended) {
    bool any = false;
    for (Voice& voice : voices_) {
        if (voice.channel) {
            const bool finished = voice.channel->Finished();
            voice.channel->Service();
            if (!finished && voice.channel->Finished() && ended)
                ended();
            any = any || !voice.channel->Paused();
        }
    }
    return any;
}
