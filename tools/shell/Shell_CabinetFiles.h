// How the cabinet library reaches files: its own C library calls, or the system's wide ones.
#pragma once
#include <mspack.h>

namespace shell {

// The file calls for mspack_create_cab_decompressor; nullptr for the library's own.
mspack_system* CabinetFiles();

} // namespace shell
