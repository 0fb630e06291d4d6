// What byte_get_size and byte_get_format share: xxd.exe dumps the container's first 2048 bytes into
// lib\temp.head, and the dump is searched line by line for the HCA or Ogg signature.
#pragma once
#include "app/Tool_Code.h"

namespace tool {
struct ProbeScan {
    bool dumped = false; // lib\temp.head existed
    RValue line = "";    // the line holding the signature, else the last line read
    double format = 0;   // 0 HCA (or nothing found), 1 Ogg
    bool found = false;  // a signature was met
};

ProbeScan dump_and_scan(const RValue& path);
// The scan, with the dump it made removed again.
ProbeScan probe_container(const RValue& path);
// The first seven characters of a dump line read as a hexadecimal offset.
int64_t line_offset(const RValue& line);
} // namespace tool
