#include "platform/Dialog_Filter.h"

namespace {
std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::string_view::npos; start = end + 1)
        parts.emplace_back(text.substr(start, end - start));
    parts.emplace_back(text.substr(start));
    return parts;
}
} // namespace

std::vector<DialogFilterEntry> Dialog_ParseFilter(std::string_view filter) {
    std::vector<DialogFilterEntry> entries;
    if (filter.empty())
        return entries;
    const std::vector<std::string> items = Split(filter, '|');
    // A label without a pattern list is dropped, as the system dialog would.
    for (size_t index = 0; index + 1 < items.size(); index += 2) {
        DialogFilterEntry entry;
        entry.label = items[index];
        for (std::string& pattern : Split(items[index + 1], ';'))
            if (!pattern.empty())
                entry.patterns.push_back(std::move(pattern));
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string Dialog_DefaultExtension(std::string_view filter) {
    const size_t bar = filter.find('|');
    if (bar == std::string_view::npos)
        return "";
    const size_t dot = filter.find('.', bar + 1);
    if (dot == std::string_view::npos)
        return "";
    const size_t end = filter.find('|', dot + 1);
    return std::string(filter.substr(dot + 1, end == std::string_view::npos ? end : end - dot - 1));
}

std::string Dialog_WithDefaultExtension(const std::string& path, std::string_view extension) {
    if (extension.empty() || extension == "*")
        return path;
    const size_t slash = path.find_last_of("/\\");
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (path.find('.', nameStart) != std::string::npos)
        return path;
    return path + "." + std::string(extension);
}
