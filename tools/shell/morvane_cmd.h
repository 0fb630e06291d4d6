// The interpreter program, apart from how each system hands it its arguments.
#pragma once
#include <string>
#include <vector>

namespace shell {

// morvane-cmd "<command line>": runs one command line; its exit status.
// morvane-cmd --command "<text>": runs one command already expanded and cut out of its line, as
// `start` hands it to a second interpreter.
int InterpreterMain(const std::vector<std::string>& arguments);

} // namespace shell
