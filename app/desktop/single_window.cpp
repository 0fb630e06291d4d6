#include "app/desktop/single_window.h"
#include "app/desktop/single_window_system.h"
#include <chrono>
#include <thread>

namespace single_window {

std::string Encode(const std::vector<std::string>& files) {
    std::string message;
    for (const std::string& file : files) {
        message += file;
        message += '\0';
    }
    message += '\0';
    return message;
}

bool Decode(const std::string& message, std::vector<std::string>& files) {
    std::vector<std::string> found;
    for (size_t start = 0, end; (end = message.find('\0', start)) != std::string::npos; start = end + 1) {
        if (end == start) {
            files.insert(files.end(), found.begin(), found.end());
            return true;
        }
        found.push_back(message.substr(start, end - start));
    }
    return false;
}

bool HandOver(const std::vector<std::string>& files) {
    // A window that is still starting may not listen yet.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    const std::string message = Encode(files);
    while (!TryHandOver(message)) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

} // namespace single_window
