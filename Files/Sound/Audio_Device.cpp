#include "Sound/Audio_Device.h"
#include "Runner/Runner_Log.h"
#include <AL/alext.h>
#include <string_view>
#include <utility>

AudioOutput AudioOutput::Open() {
    AudioOutput output;
    output.device = alcOpenDevice(nullptr);
    if (output.device != nullptr)
        output.context = alcCreateContext(output.device, nullptr);
    return output;
}

AudioOutput::AudioOutput(AudioOutput&& other) noexcept
    : device(std::exchange(other.device, nullptr)), context(std::exchange(other.context, nullptr)) {}

AudioOutput& AudioOutput::operator=(AudioOutput&& other) noexcept {
    std::swap(device, other.device);
    std::swap(context, other.context);
    return *this;
}

AudioOutput::~AudioOutput() {
    if (context != nullptr)
        alcDestroyContext(context);
    if (device != nullptr)
        alcCloseDevice(device);
}

std::unique_ptr<AudioDevice> AudioDevice::Take(AudioOutput output) {
    if (output.device == nullptr) {
        Runner_Log("audio: no output device, sound is off\n");
        return nullptr;
    }
    if (output.context == nullptr || alcMakeContextCurrent(output.context) == ALC_FALSE) {
        Runner_Log("audio: could not create an OpenAL context, sound is off\n");
        return nullptr;
    }
    Runner_Log("audio: output device '%s'\n", alcGetString(output.device, ALC_DEVICE_SPECIFIER));
    return std::unique_ptr<AudioDevice>(new AudioDevice(std::move(output)));
}

namespace {
// The file writer starts its file again from the top when resumed, which would cost a capture its
// header, so that device is never paused.
bool CanPause(ALCdevice* device) {
    const ALCchar* name = alcGetString(device, ALC_ALL_DEVICES_SPECIFIER);
    return alcIsExtensionPresent(device, "ALC_SOFT_pause_device") &&
           std::string_view(name != nullptr ? name : "") != "Wave File Writer";
}
} // namespace

AudioDevice::AudioDevice(AudioOutput output)
    : output_(std::move(output)), pausable_(CanPause(output_.device)) {
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
}

void AudioDevice::SetMixing(bool mixing) {
    if (mixing == mixing_ || !pausable_)
        return;
    const char* name = mixing ? "alcDeviceResumeSOFT" : "alcDevicePauseSOFT";
    auto call = reinterpret_cast<LPALCDEVICEPAUSESOFT>(alcGetProcAddress(output_.device, name));
    if (call != nullptr)
        call(output_.device);
    mixing_ = mixing;
}
