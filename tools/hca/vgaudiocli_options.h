#pragma once

#include "hca_decoder.h"
#include "hca_encoder.h"

#include <optional>
#include <string>
#include <vector>

namespace vgaudiocli {

enum class OutputFormat { Unspecified, Wav, Hca };

struct Options {
    std::string input;
    std::string output;
    OutputFormat format = OutputFormat::Unspecified;
    hca::EncoderOptions encoder;
    hca::DecoderKey key;
    bool help = false;
};

// Parses the arguments after the program name; throws std::invalid_argument with a message.
Options parse_options(const std::vector<std::string>& args);

extern const char* const kUsage;

} // namespace vgaudiocli
