// The OpenAL output: device, context and the voice pool's sources, made together at start and
// freed in reverse order.
#pragma once
#include <AL/al.h>
#include <AL/alc.h>
#include <memory>
#include <vector>

constexpr int MaxVoices = 128;

class AudioDevice {
  public:
    // nullptr when no output device opens.
    static std::unique_ptr<AudioDevice> Open();
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // One source per possible voice (fewer only if the device refuses more).
    const std::vector<ALuint>& Sources() const { return sources_; }

  private:
    AudioDevice(ALCdevice* device, ALCcontext* context);

    ALCdevice* device_;
    ALCcontext* context_;
    std::vector<ALuint> sources_;
};
