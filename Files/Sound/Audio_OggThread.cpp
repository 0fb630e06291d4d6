#include "Sound/Audio_OggThread.h"
#include "Sound/Audio_Ogg.h"
#include <chrono>
#include <utility>

namespace {
// Two buffers of 16384 bytes last about 90 ms at 44.1 kHz stereo; a pass every 5 ms keeps them fed.
constexpr auto ServiceInterval = std::chrono::milliseconds(5);
} // namespace

OggThread::OggThread(std::function<bool()> servicePass)
    : servicePass_(std::move(servicePass)), thread_([this](std::stop_token stop) { Run(stop); }) {}

void OggThread::Run(std::stop_token stop) {
    std::unique_lock lock(OggMutex);
    while (!stop.stop_requested()) {
        // A stop request wakes either wait.
        if (servicePass_())
            wake_.wait_for(lock, stop, ServiceInterval, [] { return false; });
        else
            wake_.wait(lock, stop, [this] { return std::exchange(woken_, false); });
    }
}

void OggThread::Wake() {
    woken_ = true;
    wake_.notify_one();
}
