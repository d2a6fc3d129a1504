#pragma once

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "ladder_protocol/protocol.h"

namespace testing_support {

// A ladder server the test scripts: cpp-httplib on a free loopback port, serving on a thread of
// its own. While it lives, QUILLMARK_LADDER_URL points at it. A path not scripted answers 404.
class FakeLadderServer {
public:
    FakeLadderServer() : port_(server_.bind_to_any_port("127.0.0.1")) {
        if (port_ <= 0) {
            throw std::runtime_error("the fake ladder server found no port");
        }
        auto handler = [this](const httplib::Request& request, httplib::Response& response) {
            Serve(request, response);
        };
        server_.Get(".*", handler);
        server_.Post(".*", handler);
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        // stop() does nothing before the loop runs, so the destructor could not end it otherwise.
        while (!server_.is_running()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ::setenv(ladder::kServerUrlVariable, Url().c_str(), 1);
    }
    ~FakeLadderServer() {
        ::unsetenv(ladder::kServerUrlVariable);
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        stopped_.notify_all();
        server_.stop();
        thread_.join();
    }
    FakeLadderServer(const FakeLadderServer&) = delete;
    FakeLadderServer& operator=(const FakeLadderServer&) = delete;

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }

    // From now on every request to path, GET or POST, gets status and body as they are.
    void Answer(const std::string& path, int status, const std::string& body) {
        Script(path, status, body);
    }
    // The same answer, sent in chunks with no length announced.
    void AnswerChunked(const std::string& path, const std::string& body) {
        Script(path, 200, body, {}, /*chunked=*/true);
    }
    // A redirection to the address to.
    void Redirect(const std::string& path, const std::string& to) { Script(path, 307, "{}", to); }
    // Requests to path get their answer only when the server stops: slower than any timeout.
    void Stall(const std::string& path) { Script(path, 200, "{}", {}, false, /*stall=*/true); }

    // The path and body of the last request; "" before any.
    std::string LastPath() const {
        std::lock_guard lock(mutex_);
        return lastPath_;
    }
    std::string LastBody() const {
        std::lock_guard lock(mutex_);
        return lastBody_;
    }

private:
    struct Scripted {
        int status = 404;
        std::string body = "{}";
        std::string location;
        bool chunked = false;
        bool stall = false;
    };

    void Script(const std::string& path, int status, const std::string& body,
                const std::string& location = {}, bool chunked = false, bool stall = false) {
        std::lock_guard lock(mutex_);
        answers_[path] = Scripted{status, body, location, chunked, stall};
    }

    void Serve(const httplib::Request& request, httplib::Response& response) {
        std::unique_lock lock(mutex_);
        lastPath_ = request.path;
        lastBody_ = request.body;
        Scripted answer = answers_[request.path];
        if (answer.stall) {
            stopped_.wait(lock, [this] { return stopping_; });
        }
        response.status = answer.status;
        if (!answer.location.empty()) {
            response.set_header("Location", answer.location);
        }
        if (!answer.chunked) {
            response.set_content(answer.body, "application/json");
            return;
        }
        response.set_chunked_content_provider(
            "application/json", [body = answer.body](std::size_t offset, httplib::DataSink& sink) {
                if (offset < body.size()) {
                    sink.write(body.data() + offset,
                               std::min<std::size_t>(4096, body.size() - offset));
                } else {
                    sink.done();
                }
                return true;
            });
    }

    httplib::Server server_;
    int port_;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
    std::map<std::string, Scripted> answers_;
    std::string lastPath_;
    std::string lastBody_;
};

// A server that answers every connection with the same bytes, whatever they are, after
// reading the request's first bytes, then closes it. While it lives, QUILLMARK_LADDER_URL
// points at it.
class RawReplyServer {
public:
    explicit RawReplyServer(std::string reply)
        : reply_(std::move(reply)), socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (socket_ < 0 || ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(socket_, 16) != 0 ||
            ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            throw std::runtime_error("the raw reply server found no port");
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
        ::setenv(ladder::kServerUrlVariable, Url().c_str(), 1);
    }
    ~RawReplyServer() {
        ::unsetenv(ladder::kServerUrlVariable);
        ::shutdown(socket_, SHUT_RDWR);  // ends the accept below
        thread_.join();
        ::close(socket_);
    }
    RawReplyServer(const RawReplyServer&) = delete;
    RawReplyServer& operator=(const RawReplyServer&) = delete;

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    void Serve() {
        for (;;) {
            const int client = ::accept(socket_, nullptr, nullptr);
            if (client < 0) {
                return;
            }
            char request[4096];
            [[maybe_unused]] const auto read = ::recv(client, request, sizeof request, 0);
            [[maybe_unused]] const auto sent =
                ::send(client, reply_.data(), reply_.size(), MSG_NOSIGNAL);
            ::shutdown(client, SHUT_WR);
            while (::recv(client, request, sizeof request, 0) > 0) {
            }
            ::close(client);
        }
    }

    std::string reply_;
    int socket_;
    int port_ = 0;
    std::thread thread_;
};

// A loopback port no one listens on: bound while this lives, so nothing else takes it, but never
// listening, so every connection to it is refused.
class ClosedPort {
public:
    ClosedPort() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (socket_ < 0 || ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            throw std::runtime_error("no loopback port to leave closed");
        }
        port_ = ntohs(address.sin_port);
    }
    ~ClosedPort() { ::close(socket_); }
    ClosedPort(const ClosedPort&) = delete;
    ClosedPort& operator=(const ClosedPort&) = delete;

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    int socket_;
    int port_ = 0;
};

}  // namespace testing_support
