#include "app/Tool_Code.h"

namespace tool {
const RValue& argument(int argc, RValue** args, int i) {
    static const RValue undefined;
    return i < argc && args[i] != nullptr ? *args[i] : undefined;
}
} // namespace tool
