// dd.exe and ffmpeg.exe: run the system program of the same purpose with the same arguments.
// LAUNCHED_PROGRAM names it; LAUNCHED_OPTIONS are put before the caller's arguments.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    std::vector<const char*> arguments = {LAUNCHED_PROGRAM LAUNCHED_OPTIONS};
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(argv[i]);
    }
    arguments.push_back(nullptr);
    ::execvp(arguments[0], const_cast<char* const*>(arguments.data()));
    std::fprintf(stderr, "%s: %s\n", arguments[0], std::strerror(errno));
    return 127;
}
