#include "ladder_server/http/connection.h"

#include <sys/socket.h>

#include <cerrno>
#include <utility>
#include <variant>

#include "ladder_server/http/request_parser.h"

namespace ladder::http {

namespace {

constexpr std::string_view kContinue = "HTTP/1.1 100 Continue\r\n\r\n";
// Answers not yet taken by the peer beyond which requests sent ahead wait unread.
constexpr std::size_t kMaxUnsentBytes = 256 * 1024;
constexpr std::chrono::seconds kLingerTime{2};
// What a lingering connection reads and drops at most before it closes anyway.
constexpr std::size_t kMaxLingerBytes = 64 * 1024;

// The most a request takes on the wire: its head, and a chunked body with its framing.
std::size_t InputCap(const Limits& limits) {
    return limits.maxHeadBytes + 4 * limits.maxBodyBytes + 4096;
}

}  // namespace

Connection::Connection(int fd, std::string peerAddress, const ServerOptions& options, TimePoint now)
    : fd_(fd),
      peerAddress_(std::move(peerAddress)),
      options_(options),
      idleSince_(now),
      lastWrite_(now) {}

bool Connection::IsIdle() const {
    return (phase_ == Phase::Reading && !ready_ && !OutputPending()) || phase_ == Phase::Lingering;
}

std::uint32_t Connection::WantedEvents() const {
    switch (phase_) {
        case Phase::Finished:
            return 0;
        case Phase::Lingering:
            return EPOLLIN;
        case Phase::Reading:
        case Phase::Busy:
            break;
    }
    const bool reading =
        !peerClosed_ && !closeAfterWrite_ && input_.size() < InputCap(options_.limits);
    return (reading ? EPOLLIN : 0u) | (OutputPending() ? EPOLLOUT : 0u);
}

void Connection::OnReadable(TimePoint now) {
    char buffer[16 * 1024];
    if (phase_ == Phase::Lingering) {
        for (;;) {
            const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
            if (got > 0) {
                lingered_ += static_cast<std::size_t>(got);
            }
            if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR) ||
                lingered_ > kMaxLingerBytes) {
                phase_ = Phase::Finished;
                return;
            }
            if (got < 0 && errno == EAGAIN) {
                return;
            }
        }
    }
    while (!peerClosed_ && !closeAfterWrite_ && input_.size() < InputCap(options_.limits)) {
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
        if (got > 0) {
            if (!requestStarted_ && input_.empty() && phase_ == Phase::Reading) {
                requestStarted_ = now;
            }
            input_.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0) {
            peerClosed_ = true;
        } else if (errno == EINTR) {
            continue;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            break;
        } else {
            phase_ = Phase::Finished;
            return;
        }
    }
    Process(now);
}

void Connection::OnWritable(TimePoint now) {
    Write(now);
    Process(now);
}

void Connection::Process(TimePoint now) {
    if (phase_ != Phase::Reading || ready_ || closeAfterWrite_ ||
        output_.size() - sent_ > kMaxUnsentBytes) {
        return;
    }
    const ParseResult result =
        input_.empty() ? ParseResult(NeedMore{}) : ParseRequest(input_, options_.limits);
    if (const auto* more = std::get_if<NeedMore>(&result)) {
        if (peerClosed_) {
            // Nothing more will come: what is there is no whole request, so nothing to answer.
            closeAfterWrite_ = true;
            Write(now);
            return;
        }
        if (more->headComplete && more->expectsContinue && !continueSent_) {
            continueSent_ = true;
            output_.append(kContinue);
            Write(now);
        }
        return;
    }
    if (const auto* malformed = std::get_if<Malformed>(&result)) {
        Refuse(malformed->status, malformed->message, now);
        return;
    }
    auto parsed = std::get<Parsed>(result);
    input_.erase(0, parsed.consumed);
    // A request sent ahead has its time counted from now, when its turn comes.
    requestStarted_ = input_.empty() ? std::nullopt : std::optional<TimePoint>(now);
    continueSent_ = false;
    answeringHead_ = parsed.request.method == "HEAD";
    keepAliveAsked_ = parsed.request.keepAlive;
    parsed.request.peerAddress = peerAddress_;
    ready_ = std::move(parsed.request);
    phase_ = Phase::Busy;
    ++served_;
}

std::optional<Request> Connection::TakeRequest() {
    return std::exchange(ready_, std::nullopt);
}

void Connection::Answer(Response response, TimePoint now, bool stopping) {
    if (phase_ != Phase::Busy) {
        return;
    }
    const bool keepAlive = keepAliveAsked_ && !response.close && !stopping &&
                           served_ < options_.maxRequestsPerConnection;
    output_.append(Serialize(response, keepAlive, answeringHead_));
    phase_ = Phase::Reading;
    idleSince_ = now;
    if (!keepAlive) {
        closeAfterWrite_ = true;
    }
    Write(now);
    Process(now);
}

void Connection::Refuse(int status, const std::string& message, TimePoint now) {
    Response refusal;
    refusal.status = status;
    if (options_.refusal) {
        refusal = options_.refusal(status, message);
    }
    output_.append(Serialize(refusal, /*keepAlive=*/false, /*headOnly=*/false));
    closeAfterWrite_ = true;
    requestStarted_.reset();
    Write(now);
}

void Connection::Write(TimePoint now) {
    if (phase_ == Phase::Finished || phase_ == Phase::Lingering) {
        return;
    }
    while (OutputPending()) {
        const ssize_t put =
            ::send(fd_, output_.data() + sent_, output_.size() - sent_, MSG_NOSIGNAL);
        if (put > 0) {
            sent_ += static_cast<std::size_t>(put);
            lastWrite_ = now;
        } else if (put < 0 && errno == EINTR) {
            continue;
        } else if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        } else {
            phase_ = Phase::Finished;
            return;
        }
    }
    output_.clear();
    sent_ = 0;
    if (closeAfterWrite_ && phase_ == Phase::Reading) {
        Linger(now);
    }
}

void Connection::Linger(TimePoint now) {
    if (peerClosed_) {
        phase_ = Phase::Finished;
        return;
    }
    ::shutdown(fd_, SHUT_WR);
    phase_ = Phase::Lingering;
    lingerUntil_ = now + kLingerTime;
}

bool Connection::Expire(TimePoint now) {
    switch (phase_) {
        case Phase::Finished:
        case Phase::Busy:
            return false;
        case Phase::Lingering:
            if (now >= lingerUntil_) {
                phase_ = Phase::Finished;
                return true;
            }
            return false;
        case Phase::Reading:
            break;
    }
    if (OutputPending()) {
        if (now - lastWrite_ > options_.writeTimeout) {
            phase_ = Phase::Finished;
            return true;
        }
        return false;
    }
    if (closeAfterWrite_) {
        return false;
    }
    if (requestStarted_ && now - *requestStarted_ > options_.requestTimeout) {
        Refuse(408, "the request did not arrive in time", now);
        return true;
    }
    if (!requestStarted_ && input_.empty() && now - idleSince_ > options_.idleTimeout) {
        phase_ = Phase::Finished;
        return true;
    }
    return false;
}

}  // namespace ladder::http
