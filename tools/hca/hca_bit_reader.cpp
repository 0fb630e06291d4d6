#include "hca_bit_reader.h"

namespace hca {

uint32_t BitReader::load_window(size_t byte) const {
    uint32_t window = 0;
    if (byte + 4 <= data_.size()) {
        for (int i = 0; i < 4; ++i)
            window = (window << 8) | data_[byte + i];
        return window;
    }
    for (int i = 0; i < 4; ++i)
        window = (window << 8) | (byte + i < data_.size() ? data_[byte + i] : 0u);
    return window;
}

} // namespace hca
