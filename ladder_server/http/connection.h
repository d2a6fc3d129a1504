#pragma once

// One accepted connection of the HTTP server: its buffers, where it stands in the exchange of
// requests and answers, and its deadlines. The server's loop owns it, calls it when its socket
// is ready or an answer arrives, and closes it when it is Done.

#include <sys/epoll.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "ladder_server/http/message.h"
#include "ladder_server/http/server.h"

namespace ladder::http {

class Connection {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // fd is non-blocking and is the caller's to close; options must outlive the connection.
    Connection(int fd, std::string peerAddress, const ServerOptions& options, TimePoint now);

    int Fd() const { return fd_; }

    // Reads what has arrived and parses a request when none is being answered.
    void OnReadable(TimePoint now);
    // Writes what waits to be written.
    void OnWritable(TimePoint now);
    // The answer to the request TakeRequest gave; ignored when none is awaited.
    void Answer(Response response, TimePoint now, bool stopping);
    // A whole request to hand to the handler, at most once per request.
    std::optional<Request> TakeRequest();
    // Applies the deadlines; true when that changed anything.
    bool Expire(TimePoint now);

    // The connection is over and should be closed.
    bool Done() const { return phase_ == Phase::Finished; }
    // Nothing is being answered or written: a stopping server may close it now.
    bool IsIdle() const;

    std::uint32_t WantedEvents() const;
    std::uint32_t WatchedEvents() const { return watched_; }
    void SetWatchedEvents(std::uint32_t events) { watched_ = events; }

private:
    enum class Phase {
        Reading,    // waiting for (the rest of) a request
        Busy,       // a request is with the handler
        Lingering,  // the last answer is out; reading what the peer still sends, then closing
        Finished,
    };

    // Takes the next request from the buffer when the connection is free for one.
    void Process(TimePoint now);
    void Refuse(int status, const std::string& message, TimePoint now);
    void Write(TimePoint now);
    // After the last answer: half-close and wait briefly for the peer's end, so the answer is
    // not cut off by a reset for bytes the server never read.
    void Linger(TimePoint now);
    bool OutputPending() const { return sent_ < output_.size(); }

    int fd_;
    std::string peerAddress_;
    const ServerOptions& options_;
    Phase phase_ = Phase::Reading;
    std::string input_;
    std::string output_;
    std::size_t sent_ = 0;
    std::optional<Request> ready_;
    std::optional<TimePoint> requestStarted_;  // the first byte of the request being read
    TimePoint idleSince_;
    TimePoint lastWrite_;
    TimePoint lingerUntil_;
    std::size_t served_ = 0;
    std::size_t lingered_ = 0;  // bytes read and dropped while lingering
    bool peerClosed_ = false;   // the peer has sent its last byte
    bool closeAfterWrite_ = false;
    bool continueSent_ = false;
    bool answeringHead_ = false;
    bool keepAliveAsked_ = true;
    std::uint32_t watched_ = 0;
};

}  // namespace ladder::http
