// Ogg Vorbis streaming: a decoding channel per stream voice, fed from disk half a staging area
// at a time, so a track is never decoded whole.
#pragma once
#include <AL/al.h>
#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vorbis/vorbisfile.h>

// Guards every voice and decoding channel that the ogg thread shares with the main thread.
extern std::mutex OggMutex;

constexpr size_t OggStagingSize = 32768;
constexpr size_t OggHalfSize = OggStagingSize / 2;

class OggChannel {
  public:
    // Opens the file with the decoder; logs the decoder's error and returns nullptr when it cannot.
    static std::unique_ptr<OggChannel> Open(const std::string& path, ALuint source, bool loop);
    // Detaches the buffers from the (stopped) source and frees them and the decoder.
    ~OggChannel();
    OggChannel(const OggChannel&) = delete;
    OggChannel& operator=(const OggChannel&) = delete;

    // Fills and queues both buffers and starts the source.
    void Start();
    // One pass of the ogg thread: refills the buffers OpenAL has finished with, restarts a source
    // that ran dry, and notices the end of a non-looping stream.
    void Service();
    void Pause();
    void Resume();
    bool Paused() const { return paused_; }
    // Everything decoded has been played (or the decoder failed): the voice is over.
    bool Finished() const { return finished_; }

  private:
    struct VorbisCloser {
        void operator()(OggVorbis_File* file) const;
    };
    using VorbisFile = std::unique_ptr<OggVorbis_File, VorbisCloser>;
    // The two OpenAL buffers a channel keeps queued in turn.
    struct BufferPair {
        BufferPair();
        ~BufferPair();
        BufferPair(const BufferPair&) = delete;
        BufferPair& operator=(const BufferPair&) = delete;
        std::array<ALuint, 2> ids{};
    };

    OggChannel(VorbisFile file, ALenum format, ALsizei rate, ALuint source, bool loop);
    // Decodes into the next half and queues it on `buffer`; false when no data is left.
    bool QueueNext(ALuint buffer);
    // Decodes until the current half is full or the data ends; returns the bytes decoded.
    size_t DecodeHalf(char* half);
    // End of file: seeks back to the start for a looping voice; false when decoding is over.
    bool Rewind();

    VorbisFile file_;
    ALenum format_;
    ALsizei rate_;
    ALuint source_;
    bool loop_;
    BufferPair buffers_;
    std::array<char, OggStagingSize> staging_{};
    size_t half_ = 0;
    bool endOfData_ = false;
    bool paused_ = false;
    bool finished_ = false;
};
