#include "ffmpeg_decoder.h"

#include "wav_reader.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <unistd.h>

namespace hca::testing {

bool ffmpeg_available() {
    return std::system("ffmpeg -version > /dev/null 2>&1") == 0;
}

std::vector<int16_t> read_wav_pcm16(const std::filesystem::path& wav_file) {
    std::ifstream in(wav_file, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    const PcmAudio audio = read_wav(bytes);
    std::vector<int16_t> samples;
    samples.reserve(audio.frames() * audio.channels.size());
    for (size_t n = 0; n < audio.frames(); ++n)
        for (const auto& channel : audio.channels)
            samples.push_back(static_cast<int16_t>(std::lround(channel[n] * 32768.0f)));
    return samples;
}

std::optional<std::vector<int16_t>> ffmpeg_decode(const std::vector<uint8_t>& stream) {
    static int serial = 0;
    const std::string file = (std::filesystem::temp_directory_path() / "hca_ffmpeg_").string() +
                             std::to_string(::getpid()) + "_" + std::to_string(serial++);
    std::ofstream(file + ".hca", std::ios::binary)
        .write(reinterpret_cast<const char*>(stream.data()), static_cast<std::streamsize>(stream.size()));
    const std::string command =
        "ffmpeg -v error -y -i '" + file + ".hca' -c:a pcm_s16le '" + file + ".wav' < /dev/null";
    std::optional<std::vector<int16_t>> samples;
    if (std::system(command.c_str()) == 0)
        samples = read_wav_pcm16(file + ".wav");
    std::filesystem::remove(file + ".hca");
    std::filesystem::remove(file + ".wav");
    return samples;
}

int difference_to_ffmpeg(const std::vector<int16_t>& ours, const std::vector<int16_t>& theirs) {
    if (ours.size() != theirs.size())
        return std::numeric_limits<int>::max();
    int worst = 0;
    for (size_t i = 0; i < ours.size(); ++i)
        worst = std::max(worst, std::abs(ours[i] + theirs[i]));
    return worst;
}

} // namespace hca::testing
