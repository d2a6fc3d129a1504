#pragma once

// One accepted connection of the HTTP server: its socket and buffers, where it stands in the
// exchange of requests and answers, and its deadlines. It reads and writes without blocking,
// on the loop thread, waiting through Asio only when the socket is not ready; the server's loop
// keeps it in its table, hands it answers, applies its deadlines and is told when it ends.

#include <boost/asio/ip/tcp.hpp>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ladder_server/http/message.h"
#include "ladder_server/http/server.h"

namespace ladder::http {

class Connection;

// What a connection tells the loop that owns it. Called on the loop thread, from inside the
// connection's own calls.
class ConnectionOwner {
public:
    virtual void OnRequest(Connection& connection, Request request) = 0;
    // The first byte the peer sent: the connection no longer counts as silent.
    virtual void OnFirstByte(Connection& connection) = 0;
    // The socket is closed; the owner drops the connection.
    virtual void OnClosed(Connection& connection) = 0;
    virtual bool Stopping() const = 0;

protected:
    ~ConnectionOwner() = default;
};

class Connection : public std::enable_shared_from_this<Connection> {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // socket is open and accepted; options and owner must outlive the connection.
    Connection(boost::asio::ip::tcp::socket socket, std::uint64_t id, std::string peerAddress,
               const ServerOptions& options, ConnectionOwner& owner, TimePoint now);

    std::uint64_t Id() const { return id_; }
    const std::string& PeerAddress() const { return peerAddress_; }

    // Starts reading. The caller holds the connection by a shared_ptr, as every caller of
    // these members must: the owner may drop its own from inside them.
    void Start();
    // The answer to the request handed to OnRequest; ignored when none is awaited.
    void Answer(Response response, bool stopping);
    // Applies the deadlines.
    void Expire(TimePoint now);
    // Closes the socket at once; OnClosed follows, only the first time.
    void Close();

    // Nothing is being answered or written: a stopping server may close it now.
    bool IsIdle() const;

private:
    enum class Phase {
        Reading,    // waiting for (the rest of) a request
        Busy,       // a request is with the handler
        Lingering,  // the last answer is out; reading what the peer still sends, then closing
        Finished,
    };

    // Reads what has arrived, until the socket has no more or the buffer is full; then waits
    // for more when more is wanted.
    void Read();
    bool WantsInput() const;
    // Takes the next request from the buffer when the connection is free for one.
    void Process();
    void Refuse(int status, const std::string& message);
    // Adds bytes to what waits to be written.
    void Queue(std::string_view bytes);
    // Writes what waits to be written; waits for the socket when it takes no more.
    void Write();
    // After the last answer: half-close and wait briefly for the peer's end, so the answer is
    // not cut off by a reset for bytes the server never read.
    void Linger();
    bool OutputPending() const { return sent_ < output_.size(); }

    boost::asio::ip::tcp::socket socket_;
    std::uint64_t id_;
    std::string peerAddress_;
    const ServerOptions& options_;
    ConnectionOwner& owner_;
    Phase phase_ = Phase::Reading;
    std::string input_;
    std::string output_;
    std::size_t sent_ = 0;
    std::optional<TimePoint> requestStarted_;  // the first byte of the request being read
    TimePoint idleSince_;
    TimePoint lastWrite_;
    TimePoint lingerUntil_;
    std::size_t served_ = 0;
    std::size_t lingered_ = 0;  // bytes read and dropped while lingering
    bool silent_ = true;        // no byte has come yet
    bool peerClosed_ = false;   // the peer has sent its last byte
    bool closeAfterWrite_ = false;
    bool continueSent_ = false;
    bool answeringHead_ = false;
    bool keepAliveAsked_ = true;
    bool awaitingRead_ = false;  // a wait for the socket to be readable is pending
    bool awaitingWrite_ = false;
};

}  // namespace ladder::http
