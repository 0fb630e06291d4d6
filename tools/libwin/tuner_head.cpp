#include "tuner_head.h"
#include <cstdint>

namespace {

void PutLittleEndian32(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

} // namespace

std::string MakeTunerHead() {
    std::string head(TunerHeadSize, '\0');
    head.replace(0, 4, "MRTH");
    PutLittleEndian32(head, 4, 1);             // layout version
    PutLittleEndian32(head, 8, TunerHeadSize); // where the stream starts
    PutLittleEndian32(head, 12, 0);            // stream codec: 0 = HCA
    return head;
}
