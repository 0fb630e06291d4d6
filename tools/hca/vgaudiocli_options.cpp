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
    "  -h, --help             show this text\n";

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
