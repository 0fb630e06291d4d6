// A later start and the running window, in one process: the start's files reach the listener whole,
// and with no window listening the start gives up.
#include "Support/Win32/Support_System.h"
#include "app/desktop/single_window.h"
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#endif

namespace {
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

TEST(SingleWindow, AStartHandsItsFilesToTheWindowOrGivesUpWhenNoneListens) {
    const fs::path appData = fs::temp_directory_path() / ("morvane-window-" + std::to_string(::getpid()));
    fs::create_directories(appData);
    setenv("APPDATA", System_PathText(appData).c_str(), 1);
#ifndef _WIN32
    {
        // While another window holds the claim, this start does not get it.
        const fs::path lock = appData / "Morvane_Radio_Tuner" / "window.lock";
        fs::create_directories(lock.parent_path());
        const int other = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        ASSERT_EQ(::flock(other, LOCK_EX), 0);
        EXPECT_FALSE(single_window::Claim());
        ::close(other);
    }
#endif
    ASSERT_TRUE(single_window::Claim());
    // Names with spaces and characters outside ASCII; the second start hands nothing (only a raise).
    const std::vector<std::string> files{System_PathText(appData / "bgm 01.sab"),
                                         "C:\\Musik\\Grüße ラジオ.mab"};
#ifndef _WIN32
    // The socket of a window that was killed is still there: the next window listens all the same.
    const fs::path stale = appData / "Morvane_Radio_Tuner" / "window.socket";
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", stale.c_str());
        const int left = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_EQ(::bind(left, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(left);
        ASSERT_TRUE(fs::exists(stale));
    }
#endif
    {
        single_window::Listener listener;
        ASSERT_NE(listener.Knock(), -1);
        std::vector<std::vector<std::string>> received;
        std::thread window([&] {
            const auto giveUp = Clock::now() + std::chrono::seconds(10);
            for (std::vector<std::string> one; received.size() < 2 && Clock::now() < giveUp; one.clear()) {
                if (listener.Receive(one))
                    received.push_back(one);
                else
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
        const bool handed = single_window::HandOver(files);
        const bool raised = single_window::HandOver({});
        window.join();
        EXPECT_TRUE(handed);
        EXPECT_TRUE(raised);
        EXPECT_EQ(received, (std::vector<std::vector<std::string>>{files, {}}));
    }
    const auto start = Clock::now();
    EXPECT_FALSE(single_window::HandOver(files));
    EXPECT_GE(Clock::now() - start, std::chrono::seconds(3));
    // A message cut short is no list of files.
    std::vector<std::string> partial;
    EXPECT_FALSE(single_window::Decode(std::string("a.sab\0b.s", 9), partial));
    EXPECT_TRUE(partial.empty());
    // Windows keeps the held lock file until the process ends.
    std::error_code ignored;
    fs::remove_all(appData, ignored);
}
} // namespace
