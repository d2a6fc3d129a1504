#include "ladder_server/http/connection.h"

#include <boost/asio/error.hpp>

#include <utility>
#include <variant>

#include "ladder_server/http/request_parser.h"

namespace ladder::http {

namespace {

namespace asio = boost::asio;
using Clock = std::chrono::steady_clock;

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

bool WouldBlock(const boost::system::error_code& error) {
    return error == asio::error::would_block || error == asio::error::try_again;
}

}  // namespace

Connection::Connection(asio::ip::tcp::socket socket, std::uint64_t id, std::string peerAddress,
                       const ServerOptions& options, ConnectionOwner& owner, TimePoint now)
    : socket_(std::move(socket)),
      id_(id),
      peerAddress_(std::move(peerAddress)),
      options_(options),
      owner_(owner),
      idleSince_(now),
      lastWrite_(now) {}

void Connection::Start() {
    boost::system::error_code error;
    socket_.non_blocking(true, error);
    if (error) {
        Close();
        return;
    }
    Read();
}

bool Connection::IsIdle() const {
    return (phase_ == Phase::Reading && !OutputPending()) || phase_ == Phase::Lingering;
}

bool Connection::WantsInput() const {
    switch (phase_) {
        case Phase::Finished:
            return false;
        case Phase::Lingering:
            return true;
        case Phase::Reading:
        case Phase::Busy:
            break;
    }
    return !peerClosed_ && !closeAfterWrite_ && input_.size() < InputCap(options_.limits);
}

void Connection::Read() {
    if (awaitingRead_) {
        return;
    }
    // The socket is drained before any wait: Asio's reactor reports a socket readable once,
    // when bytes arrive, not again for bytes left unread.
    char buffer[16 * 1024];
    const TimePoint now = Clock::now();
    while (WantsInput()) {
        boost::system::error_code error;
        const std::size_t got = socket_.read_some(asio::buffer(buffer), error);
        if (WouldBlock(error)) {
            awaitingRead_ = true;
            socket_.async_wait(asio::ip::tcp::socket::wait_read,
                               [self = shared_from_this()](const boost::system::error_code& e) {
                                   self->awaitingRead_ = false;
                                   if (!e) {
                                       self->Read();
                                   }
                               });
            break;
        }
        if (error == asio::error::interrupted) {
            continue;
        }
        if (error == asio::error::eof && phase_ != Phase::Lingering) {
            peerClosed_ = true;
            break;
        }
        if (error) {
            Close();  // reset, or the lingering peer's end
            return;
        }
        if (phase_ == Phase::Lingering) {
            lingered_ += got;
            if (lingered_ > kMaxLingerBytes) {
                Close();
                return;
            }
            continue;
        }
        if (silent_) {
            silent_ = false;
            owner_.OnFirstByte(*this);
        }
        if (!requestStarted_ && input_.empty() && phase_ == Phase::Reading) {
            requestStarted_ = now;
        }
        input_.append(buffer, got);
    }
    Process();
}

void Connection::Process() {
    if (phase_ != Phase::Reading || closeAfterWrite_ || output_.size() - sent_ > kMaxUnsentBytes) {
        return;
    }
    ParseResult result =
        input_.empty() ? ParseResult(NeedMore{}) : ParseRequest(input_, options_.limits);
    if (const auto* more = std::get_if<NeedMore>(&result)) {
        if (peerClosed_) {
            // Nothing more will come: what is there is no whole request, so nothing to answer.
            closeAfterWrite_ = true;
            Write();
            return;
        }
        if (more->headComplete && more->expectsContinue && !continueSent_) {
            continueSent_ = true;
            Queue(kContinue);
            Write();
        }
        return;
    }
    if (const auto* malformed = std::get_if<Malformed>(&result)) {
        Refuse(malformed->status, malformed->message);
        return;
    }
    auto& parsed = std::get<Parsed>(result);
    input_.erase(0, parsed.consumed);
    // A request sent ahead has its time counted from now, when its turn comes.
    requestStarted_ = input_.empty() ? std::nullopt : std::optional<TimePoint>(Clock::now());
    continueSent_ = false;
    answeringHead_ = parsed.request.method == "HEAD";
    keepAliveAsked_ = parsed.request.keepAlive;
    parsed.request.peerAddress = peerAddress_;
    phase_ = Phase::Busy;
    ++served_;
    owner_.OnRequest(*this, std::move(parsed.request));
}

void Connection::Answer(Response response, bool stopping) {
    if (phase_ != Phase::Busy) {
        return;
    }
    const bool keepAlive = keepAliveAsked_ && !response.close && !stopping &&
                           served_ < options_.maxRequestsPerConnection;
    Queue(Serialize(response, keepAlive, answeringHead_));
    phase_ = Phase::Reading;
    idleSince_ = Clock::now();
    if (!keepAlive) {
        closeAfterWrite_ = true;
    }
    Write();
    Process();
    Read();
}

void Connection::Refuse(int status, const std::string& message) {
    Response refusal;
    refusal.status = status;
    if (options_.refusal) {
        refusal = options_.refusal(status, message);
    }
    Queue(Serialize(refusal, /*keepAlive=*/false, /*headOnly=*/false));
    closeAfterWrite_ = true;
    requestStarted_.reset();
    Write();
}

void Connection::Queue(std::string_view bytes) {
    if (!OutputPending()) {
        lastWrite_ = Clock::now();  // the write's time counts from its first byte queued
    }
    output_.append(bytes);
}

void Connection::Write() {
    if (phase_ == Phase::Finished || phase_ == Phase::Lingering || awaitingWrite_) {
        return;
    }
    while (OutputPending()) {
        boost::system::error_code error;
        const std::size_t put =
            socket_.write_some(asio::buffer(output_.data() + sent_, output_.size() - sent_), error);
        if (WouldBlock(error)) {
            awaitingWrite_ = true;
            socket_.async_wait(asio::ip::tcp::socket::wait_write,
                               [self = shared_from_this()](const boost::system::error_code& e) {
                                   self->awaitingWrite_ = false;
                                   if (!e) {
                                       self->Write();
                                       self->Process();
                                       self->Read();
                                   }
                               });
            return;
        }
        if (error == asio::error::interrupted) {
            continue;
        }
        if (error) {
            Close();
            return;
        }
        sent_ += put;
        lastWrite_ = Clock::now();
    }
    output_.clear();
    sent_ = 0;
    if (closeAfterWrite_ && phase_ == Phase::Reading) {
        Linger();
    }
}

void Connection::Linger() {
    if (peerClosed_ || owner_.Stopping()) {
        Close();
        return;
    }
    boost::system::error_code ignored;
    socket_.shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
    phase_ = Phase::Lingering;
    lingerUntil_ = Clock::now() + kLingerTime;
    Read();
}

void Connection::Expire(TimePoint now) {
    switch (phase_) {
        case Phase::Finished:
        case Phase::Busy:
            return;
        case Phase::Lingering:
            if (now >= lingerUntil_) {
                Close();
            }
            return;
        case Phase::Reading:
            break;
    }
    if (OutputPending()) {
        if (now - lastWrite_ > options_.writeTimeout) {
            Close();
        }
        return;
    }
    if (closeAfterWrite_) {
        return;
    }
    if (requestStarted_ && now - *requestStarted_ > options_.requestTimeout) {
        Refuse(408, "the request did not arrive in time");
    } else if (silent_ && now - idleSince_ > options_.firstByteTimeout) {
        Close();
    } else if (!requestStarted_ && input_.empty() && now - idleSince_ > options_.idleTimeout) {
        Close();
    }
}

void Connection::Close() {
    if (phase_ == Phase::Finished) {
        return;
    }
    phase_ = Phase::Finished;
    boost::system::error_code ignored;
    socket_.close(ignored);  // pending waits end with operation_aborted
    owner_.OnClosed(*this);
}

}  // namespace ladder::http
