#include "Shell_Variables.h"
#include "Shell_Words.h"
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace shell {

std::optional<std::string> EnvironmentVariable(std::string_view name) {
    std::string exact(name);
    if (const char* value = std::getenv(exact.c_str())) {
        return std::string(value);
    }
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const char* equals = std::strchr(*entry, '=');
        if (equals != nullptr && SameText(std::string_view(*entry, equals - *entry), name)) {
            return std::string(equals + 1);
        }
    }
    return std::nullopt;
}

} // namespace shell
