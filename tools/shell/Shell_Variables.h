// %NAME% expansion, done once on the whole line before it is parsed.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace shell {

using VariableLookup = std::function<std::optional<std::string>(std::string_view name)>;

// A defined variable is replaced by its value; an undefined one, and a lone '%', stay as written
// (command-line rules, not batch-file rules).
std::string ExpandVariables(std::string_view line, const VariableLookup& lookup);

// The process environment, names compared without regard to case.
std::optional<std::string> EnvironmentVariable(std::string_view name);

} // namespace shell
