// How the interpreter cuts command text into words: its own rule for built-in commands and the
// C runtime's rule for the argv of the programs it starts.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace shell {

// Built-in commands: words separated by blanks outside double quotes; quotes are kept.
std::vector<std::string> SplitWords(std::string_view text);
// Removes every double quote.
std::string Unquote(std::string_view word);
// Splits at every '+' outside double quotes (the sources of "copy a+b dst").
std::vector<std::string> SplitPlus(std::string_view word);
// An unquoted word that is "/x" for one of the letters given (case-insensitive), or "/-y".
bool IsSwitch(std::string_view word, std::string_view letters);
// Whether a built-in's arguments hold the switch "/x" for one of the letters.
bool HasSwitch(std::string_view arguments, std::string_view letters);
// A built-in's words that are not switches of the given letters, quotes kept.
std::vector<std::string> Operands(std::string_view arguments, std::string_view letters);

// The argv a program receives from its command line, by the C runtime's rules: the program name
// ends at the first blank outside quotes; then 2n backslashes before a quote give n and toggle
// quoting, 2n+1 give n and a literal quote, and "" inside quotes is a literal quote.
std::vector<std::string> SplitProgramArguments(std::string_view text);

// Backslash is the path separator of the command lines.
std::string ToSlashes(std::string_view path);

bool IsBlank(char c);
// Case-insensitive ASCII comparison.
bool SameText(std::string_view a, std::string_view b);
bool EndsWithText(std::string_view text, std::string_view suffix);

} // namespace shell
