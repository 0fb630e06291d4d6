// The arguments as batch mode reads them.
#pragma once
#include <string>
#include <vector>

namespace batch {
// On Windows, * and ? in the last part of a name are expanded to the files they match, sorted, as
// Windows programs do for themselves (the console leaves them to the program, and Windows names hold
// neither character); a pattern that matches no file is kept as it is. Elsewhere the shell has done
// this already and a name is only ever a name: the arguments come back unchanged.
std::vector<std::string> ExpandWildcards(const std::vector<std::string>& arguments);
} // namespace batch
