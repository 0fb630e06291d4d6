#include "vgaudiocli_options.h"

#include <charconv>
#include <stdexcept>

namespace vgaudiocli {
namespace {

uint64_t parse_number(const std::string& text, const std::string& option) {
    uint64_t value = 0;
    int base = 10;
    std::string_view digits = text;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
        base = 16;
        digits.remove_prefix(2);
    }
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
        throw std::invalid_argument("invalid number '" + text + "' for " + option);
    return value;
}

// Bits per second, with an optional k suffix for kilobits.
unsigned parse_bitrate(std::string text) {
    uint64_t factor = 1;
    if (!text.empty() && (text.back() == 'k' || text.back() == 'K')) {
        factor = 1000;
        text.pop_back();
    }
    uint64_t value = parse_number(text, "--bitrate") * factor;
    if (value < 8000 || value > 10000000)
        throw std::invalid_argument("--bitrate must be between 8000 and 10000000 bits per second");
    return static_cast<unsigned>(value);
}

uint16_t parse_version(const std::string& text) {
    if (text == "1.3")
        return 0x0103;
    if (text == "2.0")
        return 0x0200;
    if (text == "3.0")
        return 0x0300;
    throw std::invalid_argument("unknown HCA version '" + text + "' (use 1.3, 2.0 or 3.0)");
}

unsigned parse_bands(const std::string& text, const std::string& option) {
    const uint64_t bands = parse_number(text, option);
    if (bands > 64)
        throw std::invalid_argument(option + " must be at most 64");
    return static_cast<unsigned>(bands);
}

std::pair<uint64_t, uint64_t> parse_loop(const std::string& text) {
    const size_t dash = text.find('-');
    if (dash == std::string::npos)
        throw std::invalid_argument("--loop needs <first>-<end>");
    return {parse_number(text.substr(0, dash), "--loop"), parse_number(text.substr(dash + 1), "--loop")};
}

float parse_volume(const std::string& text) {
    float gain = 0.0f;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), gain);
    if (error != std::errc() || end != text.data() + text.size() || !(gain > 0.0f && gain <= 16.0f))
        throw std::invalid_argument("--volume must be a gain above 0 and at most 16");
    return gain;
}

OutputFormat parse_format(const std::string& text) {
    if (text == "hca")
        return OutputFormat::Hca;
    if (text == "wav")
        return OutputFormat::Wav;
    throw std::invalid_argument("unknown output format '" + text + "' (use hca or wav)");
}

} // namespace

const char* const kUsage =
    "Usage: vgaudiocli.exe -i <input> <output> [options]\n"
    "\n"
    "Decodes an HCA stream to a 16-bit PCM WAV file, or encodes a WAV file as HCA.\n"
    "\n"
    "Options:\n"
    "  -i <file>              input file (HCA or WAV)\n"
    "  -o <file>              output file (may also be given without -o)\n"
    "  --out-format hca|wav   output format (default: from the output's extension, else wav)\n"
    "  --hcaquality <level>   highest, high, middle, low or lowest (default high)\n"
    "  --bitrate <bits/s>     constant bit rate instead of a quality level, e.g. 256000 or 256k\n"
    "  --keycode <number>     key of an encrypted (cipher 56) stream, decimal or 0x hex\n"
    "  --subkey <number>      optional 16-bit subkey for --keycode\n"
    "  -h, --help             show this text\n"
    "\n"
    "Stream features for encoding (the defaults write a plain version 2.0 stream):\n"
    "  --hca-version <v>      1.3, 2.0 or 3.0\n"
    "  --hfr-bands <n>        rebuild the top n of the 128 bands from lower ones\n"
    "  --intensity-bands <n>  code n bands of each channel pair once, with a ratio (2.0 only)\n"
    "  --ath                  use the ATH curve the version does not use by default\n"
    "  --cipher <type>        encrypt frames: 1, or 56 with --keycode\n"
    "  --loop <first>-<end>   loop region in input samples\n"
    "  --volume <gain>        scale the samples and note the gain in the header\n"
    "  --comment <text>       a comment chunk\n";

Options parse_options(const std::vector<std::string>& args) {
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw std::invalid_argument("missing value after " + arg);
            return args[++i];
        };
        if (arg == "-h" || arg == "--help" || arg == "-?") {
            options.help = true;
        } else if (arg == "-i") {
            options.input = value();
        } else if (arg == "-o") {
            options.output = value();
        } else if (arg == "--out-format") {
            options.format = parse_format(value());
        } else if (arg == "--hcaquality") {
            const std::string& name = value();
            auto quality = hca::parse_quality(name);
            if (!quality)
                throw std::invalid_argument("unknown quality '" + name +
                                            "' (use highest, high, middle, low or lowest)");
            options.encoder.quality = *quality;
        } else if (arg == "--bitrate") {
            options.encoder.bitrate = parse_bitrate(value());
        } else if (arg == "--keycode") {
            options.key.key_code = parse_number(value(), "--keycode");
            options.encoder.features.key_code = options.key.key_code;
        } else if (arg == "--hca-version") {
            options.encoder.features.version = parse_version(value());
        } else if (arg == "--hfr-bands") {
            options.encoder.features.hfr_bands = parse_bands(value(), arg);
        } else if (arg == "--intensity-bands") {
            options.encoder.features.intensity_bands = parse_bands(value(), arg);
        } else if (arg == "--ath") {
            options.encoder.features.other_ath = true;
        } else if (arg == "--cipher") {
            const uint64_t type = parse_number(value(), arg);
            if (type != 1 && type != 56)
                throw std::invalid_argument("--cipher must be 1 or 56");
            options.encoder.features.cipher_type = static_cast<unsigned>(type);
        } else if (arg == "--loop") {
            options.encoder.features.loop = parse_loop(value());
        } else if (arg == "--volume") {
            options.encoder.features.volume = parse_volume(value());
        } else if (arg == "--comment") {
            options.encoder.features.comment = value();
        } else if (arg == "--subkey") {
            uint64_t subkey = parse_number(value(), "--subkey");
            if (subkey > 0xFFFF)
                throw std::invalid_argument("--subkey must fit in 16 bits");
            options.key.subkey = static_cast<uint16_t>(subkey);
        } else if (arg.starts_with("-") && arg.size() > 1) {
            throw std::invalid_argument("unknown option " + arg);
        } else if (options.input.empty()) {
            options.input = arg;
        } else if (options.output.empty()) {
            options.output = arg;
        } else {
            throw std::invalid_argument("unexpected argument " + arg);
        }
    }
    if (options.help)
        return options;
    if (options.input.empty())
        throw std::invalid_argument("no input file given (-i <file>)");
    if (options.output.empty())
        throw std::invalid_argument("no output file given");
    return options;
}

} // namespace vgaudiocli
