#include "vgaudiocli_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <unistd.h>

namespace vgaudiocli {
namespace {

std::runtime_error file_error(const std::string& what, const std::string& path) {
    return std::runtime_error(what + " '" + path + "': " + std::strerror(errno));
}

} // namespace

std::vector<uint8_t> read_file(const std::string& path) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw file_error("cannot open", path);
    std::vector<uint8_t> data;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        data.insert(data.end(), buffer, buffer + in.gcount());
    if (in.bad())
        throw file_error("cannot read", path);
    return data;
}

AtomicOutput::AtomicOutput(std::string target)
    : target_(std::move(target)), temporary_(target_ + ".part" + std::to_string(::getpid())) {
    errno = 0;
    stream_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (!stream_)
        throw file_error("cannot create", temporary_);
}

AtomicOutput::~AtomicOutput() {
    if (committed_)
        return;
    stream_.close();
    std::remove(temporary_.c_str());
}

void AtomicOutput::commit() {
    stream_.close();
    if (stream_.fail())
        throw file_error("cannot write", temporary_);
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0)
        throw file_error("cannot create", target_);
    committed_ = true;
}

} // namespace vgaudiocli
