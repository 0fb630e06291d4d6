#include "Sound/Audio_Main.h"
#include "Runner/Runner_Log.h"
#include "Runner/Runner_Quiet.h"
#include "Sound/Audio_Device.h"
#include "Sound/Audio_OggThread.h"
#include "Sound/Audio_Stream.h"
#include "Sound/Audio_Voice.h"
#include "Support/Win32/Support_FileM.h"
#include <filesystem>
#include <functional>
#include <future>
#include <string>

namespace {
// A new voice plays at the listener, at its sound's own gain and pitch.
void PlaceAtListener(ALuint source) {
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0, 0, 0);
    alSource3f(source, AL_VELOCITY, 0, 0, 0);
    alSourcef(source, AL_GAIN, 1);
    alSourcef(source, AL_PITCH, 1);
    alSourcei(source, AL_LOOPING, AL_FALSE); // streams loop by seeking the decoder
}

bool IsStreamRange(int handle) {
    return handle >= StreamHandleBase && handle < VoiceHandleBase;
}

class AudioLayer {
  public:
    explicit AudioLayer(std::unique_ptr<AudioDevice> device)
        : device_(std::move(device)), voices_(device_->Sources()),
          oggThread_([this] { return voices_.ServiceChannels(streamEnded_); }) {}

    // Called on the ogg thread when a stream plays out (set before the first voice starts).
    void OnStreamEnd(std::function<void()> ended) {
        std::lock_guard lock(OggMutex);
        streamEnded_ = std::move(ended);
    }

    int CreateStream(std::string_view name) {
        std::string path = FileM_ResolveExisting(name);
        std::error_code error;
        if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
            Runner_Log("audio_create_stream : could not file file '%.*s'\n", static_cast<int>(name.size()),
                       name.data());
            return -1;
        }
        int handle = streams_.Add(std::move(path));
        Runner_Log("create stream %d\n", handle);
        return handle;
    }

    int DestroyStream(int handle) {
        if (!IsStreamRange(handle)) {
            Runner_Log("audio_destroy_stream : Invalid stream id: %d\n", handle);
            return -1;
        }
        if (streams_.Find(handle) == nullptr) {
            return -1;
        }
        std::lock_guard lock(OggMutex);
        voices_.ForEachMatching(handle, [](Voice& voice) { voice.Stop(); });
        streams_.Remove(handle);
        Runner_Log("destroy stream %d\n", handle);
        return 1;
    }

    int PlaySound(int handle, double priority, bool loop) {
        const std::string* path = streams_.Find(handle);
        if (path == nullptr) {
            Runner_Log("Error: no sound exists for soundid %d\n", handle);
            return 0;
        }
        std::lock_guard lock(OggMutex);
        Voice* voice = voices_.Take(priority);
        if (voice == nullptr) {
            return -1;
        }
        voice->id = nextVoiceId_++;
        voice->sound = handle;
        voice->priority = priority;
        PlaceAtListener(voice->source);
        voice->channel = OggChannel::Open(*path, voice->source, loop);
        if (voice->channel) {
            device_->SetMixing(true);
            StartVoice(*voice);
            oggThread_.Wake();
        }
        return voice->id; // a stream that fails to decode still used up its handle
    }

    void StopSound(int handle) {
        std::lock_guard lock(OggMutex);
        voices_.ForEachMatching(handle, [](Voice& voice) { voice.Stop(); });
    }

    void PauseSound(int handle) {
        std::lock_guard lock(OggMutex);
        voices_.ForEachMatching(handle, [](Voice& voice) {
            if (!voice.channel->Paused()) {
                voice.Pause();
            }
        });
    }

    void ResumeSound(int handle) {
        std::lock_guard lock(OggMutex);
        voices_.ForEachMatching(handle, [this](Voice& voice) {
            if (voice.channel->Paused()) {
                device_->SetMixing(true);
                voice.Resume();
                oggThread_.Wake();
            }
        });
    }

    // Stream voices count as playing for as long as they are active, paused or not.
    bool IsPlaying(int handle) {
        std::lock_guard lock(OggMutex);
        return voices_.AnyMatching(handle, [](const Voice&) { return true; });
    }

    bool IsPaused(int handle) {
        std::lock_guard lock(OggMutex);
        return voices_.AnyMatching(handle, [](const Voice& voice) { return voice.SourcePaused(); });
    }

    void Tick() {
        std::lock_guard lock(OggMutex);
        if (voices_.ReapFinished())
            Runner_MarkFrame("the end of a stream");
        // With nothing sounding, a paused track included, the device's mixer sleeps. (The wave file
        // writer, which is never paused, still records a pause as silence of its length.)
        device_->SetMixing(voices_.AnySounding());
    }

  private:
    // The first two buffers are decoded here so the source is already playing when the
    // built-in returns; the ogg thread keeps them refilled from then on.
    static void StartVoice(Voice& voice) {
        alGetError();
        voice.channel->Start();
        voice.active = true;
        if (alGetError() != AL_NO_ERROR) {
            Runner_Log("Error playing simple sound %d\n", voice.sound);
        }
    }

    // Destroyed in reverse: the thread stops before the voices it services go, the voices'
    // buffers before the device.
    std::unique_ptr<AudioDevice> device_;
    std::function<void()> streamEnded_; // guarded by OggMutex
    StreamTable streams_;
    VoicePool voices_;
    int nextVoiceId_ = VoiceHandleBase;
    OggThread oggThread_;
};

std::unique_ptr<AudioLayer> layer;
std::future<AudioOutput> opening;
} // namespace

void Audio_BeginOpening() {
    if (layer || opening.valid())
        return;
    try {
        opening = std::async(std::launch::async, AudioOutput::Open);
    } catch (const std::system_error&) {
        // No helper thread: Audio_Init opens the device itself.
    }
}

bool Audio_Init() {
    if (!layer) {
        if (auto device = AudioDevice::Take(opening.valid() ? opening.get() : AudioOutput::Open())) {
            layer = std::make_unique<AudioLayer>(std::move(device));
        }
    }
    return layer != nullptr;
}

void Audio_OnStreamEnd(std::function<void()> ended) {
    if (layer) {
        layer->OnStreamEnd(std::move(ended));
    }
}

void Audio_Tick() {
    if (layer) {
        layer->Tick();
    }
}

void Audio_Shutdown() {
    layer.reset();
    if (opening.valid())
        opening.get(); // an output nobody took is closed here
}

int Audio_CreateStream(std::string_view name) {
    return layer ? layer->CreateStream(name) : -1;
}

int Audio_DestroyStream(int handle) {
    return layer ? layer->DestroyStream(handle) : -1;
}

int Audio_PlaySound(int handle, double priority, bool loop) {
    return layer ? layer->PlaySound(handle, priority, loop) : -1;
}

void Audio_StopSound(int handle) {
    if (layer) {
        layer->StopSound(handle);
    }
}

void Audio_PauseSound(int handle) {
    if (layer) {
        layer->PauseSound(handle);
    }
}

void Audio_ResumeSound(int handle) {
    if (layer) {
        layer->ResumeSound(handle);
    }
}

bool Audio_IsPlaying(int handle) {
    return layer && layer->IsPlaying(handle);
}

bool Audio_IsPaused(int handle) {
    return layer && layer->IsPaused(handle);
}

void Audio_MasterGain(double gain) {
    if (layer) {
        alListenerf(AL_GAIN, gain > 0 ? static_cast<ALfloat>(gain) : 0.0f); // NaN counts as negative
    }
}
