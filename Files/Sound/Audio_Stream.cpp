#include "Sound/Audio_Stream.h"
#include "Sound/Audio_Voice.h"
#include <algorithm>

int StreamTable::Add(std::string path) {
    auto slot = std::find(slots_.begin(), slots_.end(), std::nullopt);
    if (slot == slots_.end()) {
        slot = slots_.emplace(slots_.end());
    }
    *slot = std::move(path);
    return StreamHandleBase + static_cast<int>(slot - slots_.begin());
}

const std::string* StreamTable::Find(int handle) const {
    if (handle < StreamHandleBase || handle >= VoiceHandleBase) {
        return nullptr;
    }
    auto slot = static_cast<size_t>(handle - StreamHandleBase);
    if (slot >= slots_.size() || !slots_[slot]) {
        return nullptr;
    }
    return &*slots_[slot];
}

void StreamTable::Remove(int handle) {
    if (Find(handle) != nullptr) {
        slots_[static_cast<size_t>(handle - StreamHandleBase)].reset();
    }
}
