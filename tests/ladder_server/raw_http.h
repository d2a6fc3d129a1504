#pragma once

// HTTP over loopback below what a client library lets a test do: bytes sent exactly as given,
// a chosen source address (any of 127.0.0.0/8 stands for another client), a half-close, and
// the server's answers read apart as they come.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ladder_testing {

// A blocking TCP connection to 127.0.0.1:port from source (an address of 127.0.0.0/8), with
// receive and send timeouts. Closed when it goes.
class RawConnection {
public:
    explicit RawConnection(int port, const char* source = "127.0.0.1", int timeoutSeconds = 20)
        : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        inet_pton(AF_INET, source, &local.sin_addr);
        sockaddr_in remote{};
        remote.sin_family = AF_INET;
        remote.sin_port = htons(static_cast<std::uint16_t>(port));
        remote.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        timeval timeout{timeoutSeconds, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
        connected_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0 &&
                     ::connect(fd_, reinterpret_cast<sockaddr*>(&remote), sizeof remote) == 0;
    }
    ~RawConnection() { ::close(fd_); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool Connected() const { return connected_; }

    // False when the server no longer takes bytes (it answered and closed, or reset).
    bool Send(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent <= 0) {
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        }
        return true;
    }
    // Whether the server has sent something (or closed) that is waiting to be read.
    bool Answered() const {
        pollfd ready{fd_, POLLIN, 0};
        return ::poll(&ready, 1, 0) > 0;
    }
    // Ends the sending side; the server may still answer.
    void HalfClose() { ::shutdown(fd_, SHUT_WR); }

    // Everything the server sends until it closes (or the timeout passes).
    std::string ReadToEnd() {
        std::string all;
        char buffer[16 * 1024];
        ssize_t got = 0;
        while ((got = ::recv(fd_, buffer, sizeof buffer, 0)) > 0) {
            all.append(buffer, static_cast<std::size_t>(got));
        }
        closed_ = got == 0 || errno == ECONNRESET;
        return all;
    }
    // Whether the last ReadToEnd ended with the server closing (or resetting) the connection,
    // not with the timeout.
    bool Closed() const { return closed_; }
    // What the server has sent so far, up to one read's worth; "" when it closed.
    std::string ReadSome() {
        char buffer[16 * 1024];
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
        return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : std::string();
    }

private:
    int fd_;
    bool connected_ = false;
    bool closed_ = false;
};

// One answer as it came: status, head (status line and headers) and body.
struct RawAnswer {
    int status = 0;
    std::string head;
    std::string body;
};

// The answers in bytes, one after the other; each body as long as its Content-Length says.
inline std::vector<RawAnswer> SplitAnswers(std::string_view bytes) {
    std::vector<RawAnswer> answers;
    while (!bytes.empty()) {
        const std::size_t headEnd = bytes.find("\r\n\r\n");
        if (headEnd == std::string_view::npos || bytes.substr(0, 9) != "HTTP/1.1 ") {
            break;
        }
        RawAnswer answer;
        answer.head = std::string(bytes.substr(0, headEnd));
        answer.status = std::stoi(answer.head.substr(9, 3));
        std::size_t length = 0;
        const std::size_t field = answer.head.find("\r\nContent-Length: ");
        if (field != std::string::npos) {
            length = std::stoul(answer.head.substr(field + 18));
        }
        bytes.remove_prefix(headEnd + 4);
        answer.body = std::string(bytes.substr(0, length));
        bytes.remove_prefix(std::min(length, bytes.size()));
        answers.push_back(std::move(answer));
    }
    return answers;
}

// The first answer on connection, read until it is whole; status 0 when the server closes or
// the timeout passes first.
inline RawAnswer ReadAnswer(RawConnection& connection) {
    std::string bytes;
    for (;;) {
        const std::size_t headEnd = bytes.find("\r\n\r\n");
        if (headEnd != std::string::npos) {
            const std::size_t field = bytes.find("\r\nContent-Length: ");
            const std::size_t length = field < headEnd ? std::stoul(bytes.substr(field + 18)) : 0;
            if (bytes.size() >= headEnd + 4 + length) {
                auto answers =
                    SplitAnswers(std::string_view(bytes).substr(0, headEnd + 4 + length));
                return answers.empty() ? RawAnswer{} : answers.front();
            }
        }
        const std::string more = connection.ReadSome();
        if (more.empty()) {
            return {};
        }
        bytes += more;
    }
}

// How a client ends its side of an exchange once it has sent its bytes.
enum class Ending {
    HalfClose,     // closes its sending side at once
    ServerCloses,  // waits for the server to close, as its request asked
};

// Sends bytes on a new connection, ends it so, and returns every answer.
inline std::vector<RawAnswer> Exchange(int port, std::string_view bytes,
                                       const char* source = "127.0.0.1",
                                       Ending ending = Ending::HalfClose) {
    RawConnection connection(port, source);
    if (!connection.Connected() || !connection.Send(bytes)) {
        return {};
    }
    if (ending == Ending::HalfClose) {
        connection.HalfClose();
    }
    return SplitAnswers(connection.ReadToEnd());
}

// A POST of a JSON body from source, on a connection of its own that the server closes once it
// has answered. The server closing first leaves the closed connection's wait with it, not with
// the client: a flood of these does not use up the source address's ports.
inline RawAnswer PostFrom(int port, const char* source, std::string_view path,
                          std::string_view body) {
    std::string request = "POST ";
    request.append(path)
        .append(" HTTP/1.1\r\nHost: ladder\r\nConnection: close\r\n")
        .append("Content-Type: application/json\r\nContent-Length: ")
        .append(std::to_string(body.size()))
        .append("\r\n\r\n")
        .append(body);
    auto answers = Exchange(port, request, source, Ending::ServerCloses);
    return answers.empty() ? RawAnswer{} : answers.front();
}

}  // namespace ladder_testing
