#include "Sound/Audio_Device.h"
#include "Runner/Runner_Log.h"

std::unique_ptr<AudioDevice> AudioDevice::Open() {
    ALCdevice* device = alcOpenDevice(nullptr);
    if (device == nullptr) {
        Runner_Log("audio: no output device, sound is off\n");
        return nullptr;
    }
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (context == nullptr || alcMakeContextCurrent(context) == ALC_FALSE) {
        Runner_Log("audio: could not create an OpenAL context, sound is off\n");
        if (context != nullptr) {
            alcDestroyContext(context);
        }
        alcCloseDevice(device);
        return nullptr;
    }
    Runner_Log("audio: output device '%s'\n", alcGetString(device, ALC_DEVICE_SPECIFIER));
    return std::unique_ptr<AudioDevice>(new AudioDevice(device, context));
}

AudioDevice::AudioDevice(ALCdevice* device, ALCcontext* context) : device_(device), context_(context) {
    alGetError(); // start from a clean error state
    sources_.reserve(MaxVoices);
    for (int i = 0; i < MaxVoices; ++i) {
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR) {
            break;
        }
        sources_.push_back(source);
    }
}

AudioDevice::~AudioDevice() {
    alDeleteSources(static_cast<ALsizei>(sources_.size()), sources_.data());
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
}
