#include "Shell_Variables.h"
#include "Shell_Names.h"
#include "Shell_Words.h"

namespace shell {

std::string ExpandVariables(std::string_view line, const VariableLookup& lookup) {
    std::string result;
    size_t i = 0;
    while (i < line.size()) {
        size_t close = line[i] == '%' ? line.find('%', i + 1) : std::string_view::npos;
        if (close == std::string_view::npos || close == i + 1) {
            result += line[i++];
            continue;
        }
        std::optional<std::string> value = lookup(line.substr(i + 1, close - i - 1));
        if (!value) {
            // The closing '%' may open the next reference.
            result += line[i++];
            continue;
        }
        // A value is data like a name: nothing in it is an operator, a quote or another reference.
        result += AsName(*value);
        i = close + 1;
    }
    return result;
}

} // namespace shell
