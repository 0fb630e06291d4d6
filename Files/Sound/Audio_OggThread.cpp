#include "Sound/Audio_OggThread.h"
#include "Sound/Audio_Ogg.h"
#include <chrono>

namespace {
// Two buffers of 16384 bytes last about 90 ms at 44.1 kHz stereo; a pass every 5 ms keeps them fed.
constexpr auto ServiceInterval = std::chrono::milliseconds(5);
} // namespace

OggThread::OggThread(std::function<void()> servicePass)
    : servicePass_(std::move(servicePass)), thread_([this](std::stop_token stop) { Run(stop); }) {}

void OggThread::Run(std::stop_token stop) {
    std::unique_lock lock(OggMutex);
    while (!stop.stop_requested()) {
        servicePass_();
        wake_.wait_for(lock, stop, ServiceInterval, [] { return false; }); // a stop request wakes it
    }
}
