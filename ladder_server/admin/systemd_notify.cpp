#include "ladder_server/admin/systemd_notify.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <charconv>
#include <cstddef>
#include <cstring>

// The protocol is a few lines over a datagram socket, stable and documented in sd_notify(3);
// speaking it here keeps libsystemd out of a server that needs nothing else of it, and out of
// the builds for systems without systemd.

namespace ladder {

namespace {

template <typename Number>
bool ReadNumber(const char* text, Number& value) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, value);
    return error == std::errc() && stop == end;
}

}  // namespace

SystemdNotifier::SystemdNotifier(const char* notifySocket, const char* watchdogUsec,
                                 const char* watchdogPid) {
    if (notifySocket != nullptr && (notifySocket[0] == '/' || notifySocket[0] == '@') &&
        std::strlen(notifySocket) < sizeof(sockaddr_un::sun_path)) {
        socket_ = notifySocket;
    }
    long long usec = 0;
    if (!ReadNumber(watchdogUsec, usec) || usec <= 0) {
        return;
    }
    long pid = 0;
    if (watchdogPid != nullptr && (!ReadNumber(watchdogPid, pid) || pid != getpid())) {
        return;  // the watchdog is another process's
    }
    interval_ = std::chrono::microseconds(usec / 2);
}

bool SystemdNotifier::Ready(const std::string& status) const {
    return Send("READY=1\nSTATUS=" + status);
}

bool SystemdNotifier::Watchdog() const {
    return Send("WATCHDOG=1");
}

bool SystemdNotifier::Stopping() const {
    return Send("STOPPING=1");
}

bool SystemdNotifier::Send(const std::string& state) const {
    if (socket_.empty()) {
        return false;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socket_.data(), socket_.size());
    if (socket_[0] == '@') {
        address.sun_path[0] = '\0';  // an abstract name: no file, the length bounds it
    }
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + socket_.size() +
                                               (socket_[0] == '@' ? 0 : 1));
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const ssize_t sent = sendto(fd, state.data(), state.size(), MSG_NOSIGNAL,
                                reinterpret_cast<const sockaddr*>(&address), length);
    close(fd);
    return sent == static_cast<ssize_t>(state.size());
}

}  // namespace ladder
