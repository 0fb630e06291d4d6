// The OpenAL output: device, context and the voice pool's sources, made together at start and
// freed in reverse order.
#pragma once
#include <AL/al.h>
#include <AL/alc.h>
#include <memory>
#include <vector>

constexpr int MaxVoices = 128;

// The default output device and a context on it. Opening takes tens of milliseconds, so start-up
// may do it on a helper thread: nothing here logs or touches the current context. Closed in
// reverse unless handed to an AudioDevice.
struct AudioOutput {
    static AudioOutput Open();
    AudioOutput() = default;
    AudioOutput(AudioOutput&& other) noexcept;
    AudioOutput& operator=(AudioOutput&& other) noexcept;
    ~AudioOutput();

    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr; // null with a device when no context could be made on it
};

class AudioDevice {
  public:
    // nullptr (with a log line) when `output` did not open.
    static std::unique_ptr<AudioDevice> Take(AudioOutput output);
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // One source per possible voice (fewer only if the device refuses more).
    const std::vector<ALuint>& Sources() const { return sources_; }
    // A device with nothing to play is paused, so its mixer thread sleeps instead of mixing silence.
    void SetMixing(bool mixing);

  private:
    explicit AudioDevice(AudioOutput output);

    AudioOutput output_;
    std::vector<ALuint> sources_;
    bool pausable_;
    bool mixing_ = true;
};
