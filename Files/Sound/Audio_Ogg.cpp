#include "Sound/Audio_Ogg.h"
#include "Runner/Runner_Log.h"
#include <cstdio>

std::mutex OggMutex;

namespace {
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

constexpr int LittleEndian = 0;
constexpr int SixteenBit = 2;
constexpr int Signed = 1;
} // namespace

void OggChannel::VorbisCloser::operator()(OggVorbis_File* file) const {
    ov_clear(file); // also closes the FILE it took over
    delete file;
}

OggChannel::BufferPair::BufferPair() {
    alGenBuffers(static_cast<ALsizei>(ids.size()), ids.data());
}

OggChannel::BufferPair::~BufferPair() {
    alDeleteBuffers(static_cast<ALsizei>(ids.size()), ids.data());
}

std::unique_ptr<OggChannel> OggChannel::Open(const std::string& path, ALuint source, bool loop) {
    std::unique_ptr<std::FILE, FileCloser> stream(std::fopen(path.c_str(), "rb"));
    if (!stream) {
        Runner_Log("Could not open Ogg file %s\n", path.c_str());
        return nullptr;
    }
    auto decoder = std::make_unique<OggVorbis_File>();
    if (int error = ov_open(stream.get(), decoder.get(), nullptr, 0); error < 0) {
        Runner_Log("ov_open error %d\n", error); // a failed open leaves the FILE to us
        return nullptr;
    }
    stream.release();
    VorbisFile file(decoder.release());
    const vorbis_info* info = ov_info(file.get(), -1);
    if (info->channels != 1 && info->channels != 2) {
        Runner_Log("ov_open error %d\n", OV_EIMPL); // only mono and stereo are played
        return nullptr;
    }
    ALenum format = info->channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    auto rate = static_cast<ALsizei>(info->rate);
    return std::unique_ptr<OggChannel>(new OggChannel(std::move(file), format, rate, source, loop));
}

OggChannel::OggChannel(VorbisFile file, ALenum format, ALsizei rate, ALuint source, bool loop)
    : file_(std::move(file)), format_(format), rate_(rate), source_(source), loop_(loop) {}

OggChannel::~OggChannel() {
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
}

void OggChannel::Start() {
    for (ALuint buffer : buffers_.ids) {
        QueueNext(buffer);
    }
    ALint queued = 0;
    alGetSourcei(source_, AL_BUFFERS_QUEUED, &queued);
    if (queued == 0) {
        finished_ = true;
        return;
    }
    alSourcePlay(source_);
}

void OggChannel::Service() {
    if (finished_ || paused_) {
        return;
    }
    ALint processed = 0;
    alGetSourcei(source_, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source_, 1, &buffer);
        QueueNext(buffer);
    }
    ALint queued = 0;
    ALint state = AL_STOPPED;
    alGetSourcei(source_, AL_BUFFERS_QUEUED, &queued);
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (queued == 0) {
        finished_ = true;
    } else if (state == AL_STOPPED) {
        alSourcePlay(source_); // it ran dry before the refill
    }
}

void OggChannel::Pause() {
    paused_ = true;
    alSourcePause(source_);
}

void OggChannel::Resume() {
    paused_ = false;
    alSourcePlay(source_);
}

bool OggChannel::QueueNext(ALuint buffer) {
    if (endOfData_) {
        return false;
    }
    char* half = staging_.data() + half_ * OggHalfSize;
    size_t bytes = DecodeHalf(half);
    if (bytes == 0) {
        return false;
    }
    alBufferData(buffer, format_, half, static_cast<ALsizei>(bytes), rate_);
    alSourceQueueBuffers(source_, 1, &buffer);
    half_ ^= 1;
    return true;
}

size_t OggChannel::DecodeHalf(char* half) {
    size_t filled = 0;
    bool rewound = false;
    while (filled < OggHalfSize) {
        int section = 0;
        long got = ov_read(file_.get(), half + filled, static_cast<int>(OggHalfSize - filled), LittleEndian,
                           SixteenBit, Signed, &section);
        if (got > 0) {
            filled += static_cast<size_t>(got);
            rewound = false;
        } else if (got < 0) {
            Runner_Log("ov_read error: %d\n", static_cast<int>(got));
            if (got != OV_HOLE) { // a hole is a gap in the data, decoding goes on after it
                endOfData_ = true;
                break;
            }
        } else if (rewound || !Rewind()) { // a second end right after a rewind: nothing to loop
            endOfData_ = true;
            break;
        } else {
            rewound = true;
        }
    }
    return filled;
}

bool OggChannel::Rewind() {
    if (!loop_) {
        return false;
    }
    if (int error = ov_raw_seek(file_.get(), 0); error != 0) {
        Runner_Log("ov_raw_seek error %d\n", error);
        return false;
    }
    return true;
}
