#include "ladder_server/http/server.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>

#include <algorithm>
#include <climits>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ladder_server/http/connection.h"

namespace ladder::http {

namespace {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;

// How often the deadlines of every connection are looked at.
constexpr std::chrono::milliseconds kSweepPeriod{100};

}  // namespace

// Answers handed in from any thread, on their way to the loop. The last Responder may go after
// the server: once detached, what comes is dropped rather than posted to a loop that is gone.
class Completions {
public:
    using Deliver = std::function<void(std::uint64_t connection, std::optional<Response>)>;

    explicit Completions(Deliver deliver) : deliver_(std::move(deliver)) {}

    // response is empty when the request went unanswered.
    void Push(std::uint64_t connection, std::optional<Response> response) {
        std::lock_guard lock(mutex_);
        if (deliver_) {
            deliver_(connection, std::move(response));
        }
    }
    void Detach() {
        std::lock_guard lock(mutex_);
        deliver_ = nullptr;
    }

private:
    std::mutex mutex_;
    Deliver deliver_;
};

struct Responder::Pending {
    std::shared_ptr<Completions> completions;
    std::uint64_t connection;
    std::atomic<bool> sent = false;

    ~Pending() {
        if (!sent) {
            completions->Push(connection, std::nullopt);
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

// The loop and everything it keeps. Past the constructor, every member but stopping is touched
// on the loop thread only (or before Listen, by Bind).
class Server::Core final : public ConnectionOwner {
public:
    Core(Handler handler, ServerOptions options)
        : handler_(std::move(handler)),
          options_(std::move(options)),
          completions_(std::make_shared<Completions>(
              [this](std::uint64_t connection, std::optional<Response> response) {
                  asio::post(io_, [this, connection, response = std::move(response)]() mutable {
                      Deliver(connection, std::move(response));
                  });
              })) {}
    ~Core() { completions_->Detach(); }

    asio::io_context io_{1};  // run by one thread, posted to by many
    tcp::acceptor acceptor_{io_};
    Handler handler_;
    ServerOptions options_;
    std::shared_ptr<Completions> completions_;
    std::atomic<bool> stopping_ = false;

    // Serves until Stop and its grace are over.
    void Run() {
        // One descriptor kept in reserve: when the process runs out, it is freed to accept and
        // close a connection, so the listener is not left with a peer it can never take.
        reserve_ = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        stopSeen_ = false;
        finished_ = false;
        io_.restart();
        Accept();
        ArmSweep();
        if (stopping_) {
            BeginStop();
        }
        io_.run();
        CloseAll();
        // The waits the closing aborted end now, while the connections' owner is still here.
        io_.restart();
        io_.poll();
        if (reserve_ >= 0) {
            ::close(reserve_);
            reserve_ = -1;
        }
    }

    void BeginStop() {
        if (stopSeen_) {
            return;
        }
        stopSeen_ = true;
        graceEnds_ = Clock::now() + options_.stopGrace;
        boost::system::error_code ignored;
        acceptor_.cancel(ignored);
        CloseIdle();
        if (connections_.empty()) {
            Finish();
        }
    }

    void OnRequest(Connection& connection, Request request) override {
        handler_(std::move(request), Responder(completions_, connection.Id()));
    }
    void OnFirstByte(Connection& connection) override { silent_.erase(connection.Id()); }
    void OnClosed(Connection& connection) override {
        connections_.erase(connection.Id());
        silent_.erase(connection.Id());
        const auto counted = perAddress_.find(connection.PeerAddress());
        if (counted != perAddress_.end() && --counted->second == 0) {
            perAddress_.erase(counted);
        }
        if (stopSeen_ && connections_.empty()) {
            Finish();
        }
    }
    bool Stopping() const override { return stopping_; }

private:
    void Accept() {
        acceptor_.async_accept([this](const boost::system::error_code& error, tcp::socket socket) {
            OnAccepted(error, std::move(socket));
        });
    }

    void OnAccepted(const boost::system::error_code& error, tcp::socket socket) {
        if (error == asio::error::operation_aborted || stopSeen_) {
            return;
        }
        if (error == asio::error::no_descriptors ||
            error == boost::system::errc::too_many_files_open_in_system) {
            if (reserve_ < 0) {
                acceptPaused_ = true;  // the next sweep tries again
                return;
            }
            ::close(reserve_);
            const int refused =
                ::accept4(acceptor_.native_handle(), nullptr, nullptr, SOCK_CLOEXEC);
            if (refused >= 0) {
                ::close(refused);
            }
            reserve_ = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        } else if (error) {
            acceptPaused_ = true;  // not to spin on an error that stays
            return;
        } else {
            Admit(std::move(socket));
        }
        Accept();
    }

    // Takes a new connection in, or closes it when its address has its share already, or
    // every place is taken by connections that have sent something.
    void Admit(tcp::socket socket) {
        boost::system::error_code error;
        const tcp::endpoint peer = socket.remote_endpoint(error);
        if (error) {
            return;  // gone already
        }
        // A dual-stack listener sees IPv4 peers as IPv6 ones (::ffff:a.b.c.d); they are named
        // as IPv4 peers, as the fronts and exempt addresses are written.
        asio::ip::address numeric = peer.address();
        if (numeric.is_v6() && numeric.to_v6().is_v4_mapped()) {
            numeric = asio::ip::make_address_v4(asio::ip::v4_mapped, numeric.to_v6());
        }
        std::string address = numeric.to_string();
        const auto& exempt = options_.exemptPeers;
        if (std::find(exempt.begin(), exempt.end(), address) == exempt.end()) {
            const auto counted = perAddress_.find(address);
            if (counted != perAddress_.end() &&
                counted->second >= options_.maxConnectionsPerAddress) {
                return;
            }
        }
        if (connections_.size() >= options_.maxConnections) {
            if (silent_.empty()) {
                return;
            }
            const std::shared_ptr<Connection> oldest = connections_.at(*silent_.begin());
            oldest->Close();
        }
        // Answers go out as one write each; Nagle's algorithm would hold the tail of one back
        // for the peer's delayed acknowledgement.
        socket.set_option(tcp::no_delay(true), error);
        const std::uint64_t id = nextId_++;
        auto connection = std::make_shared<Connection>(std::move(socket), id, address, options_,
                                                       *this, Clock::now());
        connections_.emplace(id, connection);
        silent_.insert(id);
        ++perAddress_[std::move(address)];
        connection->Start();
    }

    void Deliver(std::uint64_t id, std::optional<Response> response) {
        const auto found = connections_.find(id);
        if (found == connections_.end()) {
            return;
        }
        const std::shared_ptr<Connection> connection = found->second;
        if (!response) {
            response = options_.refusal ? options_.refusal(500, "the request went unanswered")
                                        : Response{500, {}, {}, true};
            response->close = true;
        }
        connection->Answer(std::move(*response), stopping_);
    }

    void ArmSweep() {
        sweep_.expires_after(kSweepPeriod);
        sweep_.async_wait([this](const boost::system::error_code& error) {
            if (!error) {
                Sweep();
            }
        });
    }

    void Sweep() {
        const auto now = Clock::now();
        for (const auto& connection : Snapshot()) {
            connection->Expire(now);
        }
        if (stopSeen_) {
            CloseIdle();
            if (now >= graceEnds_) {
                CloseAll();
            }
        } else if (acceptPaused_) {
            acceptPaused_ = false;
            Accept();
        }
        if (!finished_) {
            ArmSweep();
        }
    }

    // Held apart from the table, which closing changes.
    std::vector<std::shared_ptr<Connection>> Snapshot() const {
        std::vector<std::shared_ptr<Connection>> all;
        all.reserve(connections_.size());
        for (const auto& [id, connection] : connections_) {
            all.push_back(connection);
        }
        return all;
    }

    void CloseIdle() {
        for (const auto& connection : Snapshot()) {
            if (connection->IsIdle()) {
                connection->Close();
            }
        }
    }

    void CloseAll() {
        for (const auto& connection : Snapshot()) {
            connection->Close();
        }
    }

    // Leaves the loop nothing to wait for, so that run() returns.
    void Finish() {
        finished_ = true;
        boost::system::error_code ignored;
        sweep_.cancel();
        acceptor_.cancel(ignored);
    }

    // Ordered by id, which is the order of acceptance.
    std::map<std::uint64_t, std::shared_ptr<Connection>> connections_;
    std::set<std::uint64_t> silent_;  // the connections that have sent nothing yet
    std::unordered_map<std::string, std::size_t> perAddress_;
    std::uint64_t nextId_ = 1;
    asio::steady_timer sweep_{io_};
    Clock::time_point graceEnds_{};
    int reserve_ = -1;
    bool stopSeen_ = false;
    bool finished_ = false;
    bool acceptPaused_ = false;
};

Server::Server(Handler handler, ServerOptions options)
    : core_(std::make_unique<Core>(std::move(handler), std::move(options))) {}

Server::~Server() = default;

int Server::Bind(const std::string& address, int port) {
    if (port < 0 || port > 65535) {
        return -1;
    }
    boost::system::error_code error;
    tcp::resolver resolver(core_->io_);
    const auto found =
        resolver.resolve(address, std::to_string(port),
                         tcp::resolver::passive | tcp::resolver::numeric_service, error);
    if (error) {
        return -1;
    }
    for (const auto& entry : found) {
        tcp::acceptor candidate(core_->io_);
        candidate.open(entry.endpoint().protocol(), error);
        if (error) {
            continue;
        }
        candidate.set_option(tcp::acceptor::reuse_address(true), error);
        candidate.bind(entry.endpoint(), error);
        if (!error) {
            candidate.listen(ListenBacklog(), error);
        }
        const tcp::endpoint local = error ? tcp::endpoint() : candidate.local_endpoint(error);
        if (!error) {
            core_->acceptor_ = std::move(candidate);
            return local.port();
        }
    }
    return -1;
}

bool Server::Listen() {
    if (!core_->acceptor_.is_open()) {
        return false;
    }
    running_ = true;
    core_->Run();
    running_ = false;
    return true;
}

void Server::Stop() {
    core_->stopping_ = true;
    asio::post(core_->io_, [core = core_.get()] { core->BeginStop(); });
}

}  // namespace ladder::http
