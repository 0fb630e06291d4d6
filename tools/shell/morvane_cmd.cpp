// morvane-cmd "<command line>": runs one command line and exits with its status.
#include "Shell_Session.h"
#include <climits>
#include <cstdio>
#include <linux/close_range.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: morvane-cmd \"<command line>\"\n", stderr);
        return 2;
    }
    // Descriptors the caller forgot to mark close-on-exec would live on in the background
    // interpreter and in every program it starts.
    ::close_range(3, ~0U, 0);
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr) {
        std::perror("morvane-cmd");
        return 1;
    }
    shell::Session session(cwd);
    return session.Run(argv[1]);
}
