#include "shell_test_support.h"
#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

const int NotFoundExit = 9009 & 0xFF;
const bool CanLimitFileSize = true;
const char* const UnusualName = R"(a" & echo ran > ran.txt & "b %APPDATA% *.hca)";

const char* const TextLineEnd = "\n";

bool MakeLink(const fs::path& target, const fs::path& link, bool folder) {
    std::error_code error;
    folder ? fs::create_directory_symlink(target, link, error) : fs::create_symlink(target, link, error);
    return !error;
}

int RunLine(const std::string& line, const fs::path& folder, RunOptions options) {
    pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(folder.c_str()) != 0) {
            ::_exit(126);
        }
        if (options.fileSizeLimit) {
            rlimit limit{static_cast<rlim_t>(*options.fileSizeLimit),
                         static_cast<rlim_t>(*options.fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            // A write past the limit then fails with EFBIG instead of ending the process.
            ::signal(SIGXFSZ, SIG_IGN);
        }
        ::execl(MORVANE_CMD, "morvane-cmd", line.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
