#pragma once

#include <stdexcept>

namespace hca {

// Raised for input that is not a usable HCA or WAV stream; the message is meant for the user.
class FormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace hca
