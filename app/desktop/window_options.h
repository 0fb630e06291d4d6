// The options of the window (as opposed to batch mode), taken off the front of the command line.
#pragma once
#include <string>
#include <vector>

struct WindowOptions {
    bool verbose = false; // the runtime's log on the terminal too, not only in runtime.log
    int scale = 0;        // pixels per room unit; 0: as the desktop is scaled
    std::string error;    // a malformed option
};

// Removes leading --verbose and --scale N (or --scale=N, N from 1 to 8) from `arguments`.
WindowOptions TakeWindowOptions(std::vector<std::string>& arguments);
