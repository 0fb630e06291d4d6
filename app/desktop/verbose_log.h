// The runtime's log as --verbose shows it on the terminal.
#pragma once
#include <string>

// `line` for a reader of the terminal: the runtime's start-up steps, which name its own insides, are
// left out (empty), the others said plainly; lines not known here are shown as they are. runtime.log
// keeps every line as the runtime wrote it.
std::string VerboseLine(const std::string& line);
