// How a file's name travels through a command line as data. A name made only of characters that
// mean nothing to the interpreter is written as it is; any other is written as a name token, which
// expansion, parsing and word splitting pass over untouched and which only the places that use a
// name (a path, a program's argument, echo's text, a del pattern) turn back into the name.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace shell {

// The name as it goes into a command line.
std::string AsName(std::string_view name);

// Text with every name token replaced by its name. `fromName`, when given, receives one flag a
// byte of the result: whether that byte came from a name (and so is never a wildcard).
std::string DecodeNames(std::string_view text, std::vector<bool>* fromName = nullptr);

// A program's argument: names decoded, and one that starts with a name starting with '-' made
// "./-…", so that no name is ever read as an option.
std::string ProgramArgument(std::string_view text);

// The line for a log: names decoded, control characters shown as '?'.
std::string ShowNames(std::string_view line);

// A name for a line of text a person reads (tuner.log, --info): control characters written as escapes
// ("\n", "\t", "\x1b"), so that a name holding a newline keeps its line one line.
std::string EscapeControls(std::string_view name);

} // namespace shell
