#include "Shell_CabinetFiles.h"

namespace shell {

// Paths are bytes here: the library's own fopen takes them as they are.
mspack_system* CabinetFiles() {
    return nullptr;
}

} // namespace shell
