// A disk that writes wrong bytes and says nothing, loaded with LD_PRELOAD into the tool and its
// helpers: in a file whose path starts with MORVANE_LOSSY_PREFIX, the byte at offset
// MORVANE_LOSSY_AT (0 unless set) is stored inverted, while every write reports success.
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

namespace {
bool lossy(int fd) {
    const char* prefix = std::getenv("MORVANE_LOSSY_PREFIX");
    if (prefix == nullptr || fd < 0) {
        return false;
    }
    char path[4096];
    std::string link = "/proc/self/fd/" + std::to_string(fd);
    ssize_t got = ::readlink(link.c_str(), path, sizeof path);
    return got > 0 && std::string_view(path, static_cast<size_t>(got)).starts_with(prefix);
}

// The bytes to store for a write of `size` bytes at `offset`: a copy with the chosen byte inverted
// when the write covers it, nothing otherwise.
std::vector<char> spoiled(const void* data, size_t size, off_t offset) {
    const char* at = std::getenv("MORVANE_LOSSY_AT");
    const off_t target = at != nullptr ? std::strtoll(at, nullptr, 10) : 0;
    if (offset < 0 || target < offset || target >= offset + static_cast<off_t>(size)) {
        return {};
    }
    std::vector<char> bytes(static_cast<const char*>(data), static_cast<const char*>(data) + size);
    bytes[static_cast<size_t>(target - offset)] ^= char(0xff);
    return bytes;
}

template <typename Function> Function next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}
} // namespace

extern "C" ssize_t write(int fd, const void* data, size_t size) {
    static auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    if (lossy(fd)) {
        std::vector<char> bytes = spoiled(data, size, ::lseek(fd, 0, SEEK_CUR));
        if (!bytes.empty()) {
            return real(fd, bytes.data(), size);
        }
    }
    return real(fd, data, size);
}

extern "C" size_t fwrite(const void* data, size_t size, size_t count, std::FILE* stream) {
    static auto real = next<size_t (*)(const void*, size_t, size_t, std::FILE*)>("fwrite");
    if (size > 0 && lossy(::fileno(stream))) {
        std::vector<char> bytes = spoiled(data, size * count, ::ftello(stream));
        if (!bytes.empty()) {
            return real(bytes.data(), size, count, stream);
        }
    }
    return real(data, size, count, stream);
}
