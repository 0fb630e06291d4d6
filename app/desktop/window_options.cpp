#include "app/desktop/window_options.h"
#include <charconv>

namespace {
constexpr int LargestScale = 8;

int ParseScale(const std::string& text) {
    int scale = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), scale);
    return error == std::errc() && end == text.data() + text.size() && scale >= 1 && scale <= LargestScale
               ? scale
               : 0;
}
} // namespace

WindowOptions TakeWindowOptions(std::vector<std::string>& arguments) {
    WindowOptions options;
    size_t taken = 0;
    while (taken < arguments.size() && options.error.empty()) {
        const std::string& option = arguments[taken];
        if (option == "--verbose") {
            options.verbose = true;
            ++taken;
        } else if (option == "--scale" || option.starts_with("--scale=")) {
            const bool joined = option != "--scale";
            const std::string value = joined                         ? option.substr(8)
                                      : taken + 1 < arguments.size() ? arguments[taken + 1]
                                                                     : "";
            options.scale = ParseScale(value);
            if (options.scale == 0)
                options.error = "--scale needs a whole number from 1 to " + std::to_string(LargestScale);
            taken += joined ? 1 : 2;
        } else {
            break;
        }
    }
    arguments.erase(arguments.begin(), arguments.begin() + long(std::min(taken, arguments.size())));
    return options;
}
