#include "morvane_cmd.h"
#include <linux/close_range.h>
#include <unistd.h>

int main(int argc, char** argv) {
    // Descriptors the caller forgot to mark close-on-exec would live on in the background
    // interpreter and in every program it starts.
    ::close_range(3, ~0U, 0);
    return shell::InterpreterMain(std::vector<std::string>(argv, argv + argc));
}
