#include "Shell_Lifeline.h"
#include "morvane_cmd.h"
#include <linux/close_range.h>
#include <unistd.h>

int main(int argc, char** argv) {
    // Descriptors the caller forgot to mark close-on-exec would live on in the background
    // interpreter and in every program it starts.
    // The lifeline alone is kept, and watched from here on.
    int lifeline = shell::WatchLifeline();
    if (lifeline < 0) {
        ::close_range(3, ~0U, 0);
    } else {
        if (lifeline > 3) {
            ::close_range(3, static_cast<unsigned>(lifeline) - 1, 0);
        }
        ::close_range(static_cast<unsigned>(lifeline) + 1, ~0U, 0);
    }
    return shell::InterpreterMain(std::vector<std::string>(argv, argv + argc));
}
