// A socket beside the lock: window.socket, only for the same user.
#include "Support/Win32/Support_FileM.h"
#include "app/desktop/single_window.h"
#include "app/desktop/single_window_system.h"
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace single_window {
namespace {
// The save area the runtime will use: $APPDATA (or the platform's default) + the game name.
std::string Folder() {
    return FileM_DefaultAppData() + "/Morvane_Radio_Tuner";
}

struct OwnedFd {
    int fd = -1;
    ~OwnedFd() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};
// Open (close-on-exec, so no helper program inherits the lock) until the process ends.
OwnedFd windowLock;

bool SocketAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Waits for at most `seconds` on each read and write of `fd`.
void SetTimeouts(int fd, int seconds) {
    timeval limit{seconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

bool SendAll(int fd, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        sent += size_t(n);
    }
    return true;
}

} // namespace

struct Listener::System {
    OwnedFd server;
    std::string path;
};

// The message, then the end of the stream; the window answers one byte.
bool TryHandOver(const std::string& message) {
    sockaddr_un address;
    OwnedFd client{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    if (client.fd < 0 || !SocketAddress(Folder() + "/window.socket", address) ||
        ::connect(client.fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        return false;
    }
    SetTimeouts(client.fd, 5);
    char answer = 0;
    return SendAll(client.fd, message) && ::shutdown(client.fd, SHUT_WR) == 0 &&
           ::recv(client.fd, &answer, 1, 0) == 1;
}

bool Claim() {
    if (windowLock.fd < 0) {
        std::error_code ignored;
        std::filesystem::create_directories(Folder(), ignored);
        windowLock.fd = ::open((Folder() + "/window.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    }
    // Without a lock file there is nothing to go by: let the window run.
    return windowLock.fd < 0 || ::flock(windowLock.fd, LOCK_EX | LOCK_NB) == 0;
}

Listener::Listener() {
    sockaddr_un address;
    const std::string path = Folder() + "/window.socket";
    OwnedFd server{::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)};
    if (server.fd < 0 || !SocketAddress(path, address)) {
        return;
    }
    // Only the window holding the lock gets here, so a socket left by one that was killed is stale.
    ::unlink(path.c_str());
    const mode_t previous = ::umask(0077);
    const bool bound = ::bind(server.fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::umask(previous);
    if (!bound || ::listen(server.fd, 8) != 0) {
        return;
    }
    knock_ = server.fd;
    system_.reset(new System{{std::exchange(server.fd, -1)}, path});
}

Listener::~Listener() {
    if (system_) {
        ::unlink(system_->path.c_str());
    }
}

bool Listener::Receive(std::vector<std::string>& files) {
    if (!system_) {
        return false;
    }
    OwnedFd client{::accept4(system_->server.fd, nullptr, nullptr, SOCK_CLOEXEC)};
    if (client.fd < 0) {
        return false;
    }
    ucred peer{};
    socklen_t size = sizeof peer;
    // Only the same user's starts are heard.
    if (::getsockopt(client.fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != ::getuid()) {
        return false;
    }
    SetTimeouts(client.fd, 1);
    std::string message;
    char buffer[4096];
    for (ssize_t n; (n = ::recv(client.fd, buffer, sizeof buffer, 0)) > 0;) {
        message.append(buffer, size_t(n));
    }
    // A start that was cut short gets no answer.
    const char answer = 1;
    if (Decode(message, files)) {
        ::send(client.fd, &answer, 1, MSG_NOSIGNAL);
    }
    return true;
}

} // namespace single_window
