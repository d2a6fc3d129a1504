#pragma once

// An HTTP/1.1 server on one event-loop thread (Asio's io_context, run by Listen): it accepts,
// reads, parses and writes for every connection, and hands each whole request to a handler
// that answers later, from any thread, through a Responder. A connection therefore costs a
// buffer, not a thread: clients that send slowly, or connect and say nothing, hold nobody up,
// and each is given up when its time runs out.
//
// Per connection, requests are answered one at a time and in order; requests sent ahead
// (pipelined) wait in the buffer. A peer that half-closes its side after a whole request still
// gets every answer before the connection ends.
//
// No peer address holds more than its share of the connections, and a connection that has sent
// nothing gives its place up, soon by itself or at once to a newcomer when all are taken: a
// client that opens many connections and stays silent locks nobody out.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ladder_server/http/head_check.h"
#include "ladder_server/http/message.h"

namespace ladder::http {

class Completions;

// Answers one request. Copies share one answer: the first call sends it and later calls do
// nothing. If no copy is ever called, the peer gets 500 when the last copy goes. A copy may
// outlive the server; its answer is then dropped.
class Responder {
public:
    Responder(std::shared_ptr<Completions> completions, std::uint64_t connection);

    void operator()(Response response) const;

private:
    struct Pending;
    std::shared_ptr<Pending> pending_;
};

struct ServerOptions {
    Limits limits;
    // From the first byte of a request to its last; a slower request is answered 408.
    std::chrono::milliseconds requestTimeout{10'000};
    // How long a kept-alive connection may wait for its next request.
    std::chrono::milliseconds idleTimeout{30'000};
    // How long a new connection may wait before its first byte.
    std::chrono::milliseconds firstByteTimeout{5'000};
    // How long an answer may wait for the peer to take any of it.
    std::chrono::milliseconds writeTimeout{10'000};
    // When this many are open, a new connection takes the place of the oldest one that has sent
    // nothing yet; when every one has sent something, the new one is closed at once.
    std::size_t maxConnections = 1024;
    // Connections from one peer address beyond this are closed as soon as they are accepted.
    std::size_t maxConnectionsPerAddress = 64;
    // Numeric peer addresses not held to maxConnectionsPerAddress: the trusted fronts, whose
    // connections carry many clients'.
    std::vector<std::string> exemptPeers;
    std::size_t maxRequestsPerConnection = 1000;
    // How long Stop waits for answers still being worked on.
    std::chrono::milliseconds stopGrace{10'000};
    // The answer to bytes that are no request (status 400, 408, 413, 414, 417, 431, 501, 505),
    // and to a handler that never answered (500).
    std::function<Response(int status, const std::string& message)> refusal;
};

class Server {
public:
    // Called on the loop thread with each whole request; it must not block. The request's
    // peerAddress is set.
    using Handler = std::function<void(Request, Responder)>;

    Server(Handler handler, ServerOptions options);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Binds address:port and listens, with the system's largest backlog; port 0 takes any
    // free port. The port bound, or -1 when it cannot be bound.
    int Bind(const std::string& address, int port);

    // Serves until Stop; then answers what is being worked on (for at most stopGrace) and
    // returns. False when there was nothing bound or the loop could not run.
    bool Listen();

    // Ends a Listen from any thread, also one that has not started yet.
    void Stop();

    bool IsRunning() const { return running_; }

private:
    class Core;

    std::unique_ptr<Core> core_;
    std::atomic<bool> running_ = false;
};

// The backlog listen() is given: the system's maximum (net.core.somaxconn), or SOMAXCONN.
int ListenBacklog();

}  // namespace ladder::http
