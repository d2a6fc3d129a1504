#include "ladder_server/http/server.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <fstream>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ladder_server/http/address.h"
#include "ladder_server/http/connection.h"

namespace ladder::http {

// Answers handed in from any thread, waiting for the loop; writing to the eventfd wakes it.
class Completions {
public:
    explicit Completions(int eventFd) : eventFd_(eventFd) {}
    // The last Responder may go after the server: the eventfd lives as long as this does, so
    // a late answer never writes into a descriptor that was closed and reused.
    ~Completions() {
        if (eventFd_ >= 0) {
            ::close(eventFd_);
        }
    }
    Completions(const Completions&) = delete;
    Completions& operator=(const Completions&) = delete;

    void Push(std::uint64_t connection, Response response) {
        std::lock_guard lock(mutex_);
        done_.emplace_back(connection, std::move(response));
        Wake();
    }
    std::vector<std::pair<std::uint64_t, Response>> Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(done_, {});
    }
    // Wakes the loop. The caller holds the lock, or none is needed (eventFd_ is set once).
    void Wake() const {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(eventFd_, &one, sizeof one);
    }
    int EventFd() const { return eventFd_; }

private:
    int eventFd_;
    std::mutex mutex_;
    std::vector<std::pair<std::uint64_t, Response>> done_;
};

struct Responder::Pending {
    std::shared_ptr<Completions> completions;
    std::uint64_t connection;
    std::atomic<bool> sent = false;

    ~Pending() {
        if (!sent) {
            Response unanswered;
            unanswered.status = 500;
            unanswered.close = true;
            completions->Push(connection, std::move(unanswered));
        }
    }
};

Responder::Responder(std::shared_ptr<Completions> completions, std::uint64_t connection)
    : pending_(std::make_shared<Pending>()) {
    pending_->completions = std::move(completions);
    pending_->connection = connection;
}

void Responder::operator()(Response response) const {
    if (!pending_->sent.exchange(true)) {
        pending_->completions->Push(pending_->connection, std::move(response));
    }
}

int ListenBacklog() {
    std::ifstream file("/proc/sys/net/core/somaxconn");
    long value = 0;
    if (file >> value && value > 0) {
        return static_cast<int>(std::min<long>(value, INT_MAX));
    }
    return SOMAXCONN;
}

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr std::uint64_t kListenerTag = 0;
constexpr std::uint64_t kWakeTag = 1;

}  // namespace

// Everything Listen needs while it runs; made and gone with each Listen.
class Server::Loop {
public:
    Loop(Server& server, int epoll) : server_(server), epoll_(epoll) {
        // One descriptor kept in reserve: when the process runs out, it is freed to accept and
        // close a connection, so the listener does not stay readable forever.
        reserve_ = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    }
    ~Loop() {
        for (auto& [id, connection] : connections_) {
            ::close(connection.Fd());
        }
        if (reserve_ >= 0) {
            ::close(reserve_);
        }
    }

    bool Run() {
        if (!Watch(server_.listener_, kListenerTag, EPOLLIN) ||
            !Watch(server_.completions_->EventFd(), kWakeTag, EPOLLIN)) {
            return false;
        }
        SteadyClock::time_point graceEnds{};
        bool stopSeen = false;
        epoll_event events[64];
        for (;;) {
            const int ready = ::epoll_wait(epoll_, events, 64, 100);
            if (ready < 0 && errno != EINTR) {
                return false;
            }
            now_ = SteadyClock::now();
            for (int i = 0; i < ready; ++i) {
                Dispatch(events[i]);
            }
            if (server_.stopping_ && !stopSeen) {
                stopSeen = true;
                graceEnds = now_ + server_.options_.stopGrace;
                ::epoll_ctl(epoll_, EPOLL_CTL_DEL, server_.listener_, nullptr);
            }
            if (stopSeen) {
                CloseIdle();
                if (connections_.empty() || now_ >= graceEnds) {
                    return true;
                }
            }
            if (now_ - lastSweep_ >= std::chrono::milliseconds(100)) {
                lastSweep_ = now_;
                Sweep();
            }
        }
    }

private:
    bool Watch(int fd, std::uint64_t tag, std::uint32_t events) {
        epoll_event event{};
        event.events = events;
        event.data.u64 = tag;
        return ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event) == 0;
    }

    void Dispatch(const epoll_event& event) {
        if (event.data.u64 == kListenerTag) {
            AcceptAll();
            return;
        }
        if (event.data.u64 == kWakeTag) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto read =
                ::read(server_.completions_->EventFd(), &count, sizeof count);
            for (auto& [id, response] : server_.completions_->Take()) {
                if (auto* connection = Find(id)) {
                    connection->Answer(std::move(response), now_, server_.stopping_);
                    Settle(id);
                }
            }
            return;
        }
        const std::uint64_t id = event.data.u64;
        Connection* connection = Find(id);
        if (connection == nullptr) {
            return;
        }
        if (event.events & (EPOLLERR | EPOLLHUP)) {
            // Reset or gone both ways: no answer can reach the peer any more.
            Close(id);
            return;
        }
        if (event.events & EPOLLIN) {
            connection->OnReadable(now_);
        }
        if (event.events & EPOLLOUT) {
            connection->OnWritable(now_);
        }
        Settle(id);
    }

    // After a connection acted: hands on a request it parsed, updates what epoll watches for
    // it, and closes it when it is done.
    void Settle(std::uint64_t id) {
        for (;;) {
            Connection* connection = Find(id);
            if (connection == nullptr) {
                return;
            }
            if (auto request = connection->TakeRequest()) {
                server_.handler_(std::move(*request), Responder(server_.completions_, id));
                continue;  // the handler may have answered at once; nothing waits for that
            }
            if (connection->Done()) {
                Close(id);
                return;
            }
            const std::uint32_t wanted = connection->WantedEvents();
            if (wanted != connection->WatchedEvents()) {
                epoll_event event{};
                event.events = wanted;
                event.data.u64 = id;
                ::epoll_ctl(epoll_, EPOLL_CTL_MOD, connection->Fd(), &event);
                connection->SetWatchedEvents(wanted);
            }
            return;
        }
    }

    void AcceptAll() {
        for (;;) {
            sockaddr_storage address{};
            socklen_t length = sizeof address;
            const int fd = ::accept4(server_.listener_, reinterpret_cast<sockaddr*>(&address),
                                     &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) {
                if (errno == EINTR || errno == ECONNABORTED) {
                    continue;
                }
                if ((errno == EMFILE || errno == ENFILE) && reserve_ >= 0) {
                    ::close(reserve_);
                    const int refused =
                        ::accept4(server_.listener_, nullptr, nullptr, SOCK_CLOEXEC);
                    if (refused >= 0) {
                        ::close(refused);
                    }
                    reserve_ = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
                }
                return;  // EAGAIN: all taken
            }
            if (connections_.size() >= server_.options_.maxConnections || server_.stopping_) {
                ::close(fd);
                continue;
            }
            // Answers go out as one write each; Nagle's algorithm would hold the tail of one
            // back for the peer's delayed acknowledgement.
            const int on = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            const std::uint64_t id = nextId_++;
            auto [slot, added] =
                connections_.try_emplace(id, fd, NumericAddress(address), server_.options_, now_);
            if (!Watch(fd, id, slot->second.WantedEvents())) {
                connections_.erase(slot);
                ::close(fd);
                continue;
            }
            slot->second.SetWatchedEvents(slot->second.WantedEvents());
        }
    }

    void Sweep() {
        std::vector<std::uint64_t> touched;
        for (auto& [id, connection] : connections_) {
            if (connection.Expire(now_)) {
                touched.push_back(id);
            }
        }
        for (const std::uint64_t id : touched) {
            Settle(id);
        }
    }

    void CloseIdle() {
        std::vector<std::uint64_t> idle;
        for (auto& [id, connection] : connections_) {
            if (connection.IsIdle()) {
                idle.push_back(id);
            }
        }
        for (const std::uint64_t id : idle) {
            Close(id);
        }
    }

    Connection* Find(std::uint64_t id) {
        const auto found = connections_.find(id);
        return found == connections_.end() ? nullptr : &found->second;
    }

    void Close(std::uint64_t id) {
        const auto found = connections_.find(id);
        if (found == connections_.end()) {
            return;
        }
        ::epoll_ctl(epoll_, EPOLL_CTL_DEL, found->second.Fd(), nullptr);
        ::close(found->second.Fd());
        connections_.erase(found);
    }

    Server& server_;
    int epoll_;
    int reserve_ = -1;
    std::uint64_t nextId_ = 2;  // after the two tags
    std::unordered_map<std::uint64_t, Connection> connections_;
    SteadyClock::time_point now_ = SteadyClock::now();
    SteadyClock::time_point lastSweep_ = now_;
};

Server::Server(Handler handler, ServerOptions options)
    : handler_(std::move(handler)),
      options_(std::move(options)),
      completions_(std::make_shared<Completions>(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))) {}

Server::~Server() {
    if (listener_ >= 0) {
        ::close(listener_);
    }
}

int Server::Bind(const std::string& address, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (port < 0 || port > 65535 ||
        ::getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        return -1;
    }
    int bound = -1;
    for (addrinfo* candidate = found; candidate != nullptr && bound < 0;
         candidate = candidate->ai_next) {
        const int fd = ::socket(candidate->ai_family,
                                candidate->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            continue;
        }
        const int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_storage local{};
        socklen_t length = sizeof local;
        if (::bind(fd, candidate->ai_addr, candidate->ai_addrlen) == 0 &&
            ::listen(fd, ListenBacklog()) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) == 0) {
            bound = ntohs(local.ss_family == AF_INET6
                              ? reinterpret_cast<const sockaddr_in6&>(local).sin6_port
                              : reinterpret_cast<const sockaddr_in&>(local).sin_port);
            if (listener_ >= 0) {
                ::close(listener_);
            }
            listener_ = fd;
        } else {
            ::close(fd);
        }
    }
    ::freeaddrinfo(found);
    return bound;
}

bool Server::Listen() {
    if (listener_ < 0 || completions_->EventFd() < 0) {
        return false;
    }
    const int epoll = ::epoll_create1(EPOLL_CLOEXEC);
    if (epoll < 0) {
        return false;
    }
    running_ = true;
    bool served = false;
    {
        Loop loop(*this, epoll);
        served = loop.Run();
    }
    ::close(epoll);
    running_ = false;
    return served;
}

void Server::Stop() {
    stopping_ = true;
    completions_->Wake();
}

}  // namespace ladder::http
