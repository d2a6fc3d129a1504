#pragma once

// The ladder's HTTP face: the protocol's routes (ladder_protocol/protocol.h) over a GameService.
// Connections are served by one event loop (http::Server); the work behind the routes runs on two
// bounded pools, one for starts, which hash a password, and one for everything else, so a burst of
// logins never holds up finishes; starts from different client addresses take turns. When a
// pool's queue is full, or a client address already has its share of the login queue, the
// answer is at once 503 BUSY with Retry-After. Every answer but the pages and the metrics is JSON;
// every refusal carries a code.
//
// For operators, GET /healthz asks the database on the work pool, and GET /metrics answers
// on the loop thread without touching the database, so a scrape works while the pools are
// full. What the routes count: answers by route and status, their times from arrival to
// answer, refusals by reason, the queues' depths, the store's connections and the games.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ladder_server/http/server.h"
#include "ladder_server/http/task_pool.h"
#include "ladder_server/routes/metrics.h"
#include "ladder_server/service/game_service.h"

namespace ladder {

struct RouteOptions {
    int threads = 8;       // for finishes, forfeits, standings and the version
    int loginThreads = 0;  // for starts; 0: one per core
    // Starts waiting beside the running ones, taken from client addresses in turn; 0: eight
    // per thread. Of them, at most loginQueuePerAddress from one address; 0: half the queue.
    std::size_t loginQueue = 0;
    std::size_t loginQueuePerAddress = 0;
    // The numeric addresses of fronts (a reverse proxy such as nginx) whose X-Real-IP header
    // names the client. From any other peer the header is ignored.
    std::vector<std::string> trustedProxies;
    http::ServerOptions server;  // limits and timeouts of the connections
    // Told, from any thread, of each request that failed in the store ("POST /v2/finish:
    // WHY"); unset: written to standard error.
    using ErrorLog = std::function<void(const std::string& line)>;
    ErrorLog logError;
};

class LadderRoutes {
public:
    // games must outlive the server.
    LadderRoutes(GameService& games, RouteOptions options);
    LadderRoutes(GameService& games, int threads) : LadderRoutes(games, WithThreads(threads)) {}
    ~LadderRoutes();
    LadderRoutes(const LadderRoutes&) = delete;
    LadderRoutes& operator=(const LadderRoutes&) = delete;

    // Binds address:port, port 0 meaning any free one. The port bound, or -1 when the
    // address cannot be bound.
    int Bind(const std::string& address, int port) { return server_.Bind(address, port); }

    // Serves on the bound port until Stop; returns when every connection is done. False when
    // it could not serve at all.
    bool Listen() { return server_.Listen(); }

    // Ends a Listen from any thread.
    void Stop() { server_.Stop(); }

    bool IsRunning() const { return server_.IsRunning(); }

private:
    static RouteOptions WithThreads(int threads) {
        RouteOptions options;
        options.threads = threads;
        return options;
    }
    // Called on the loop thread: decides what it can at once, hands the rest to a pool.
    void Dispatch(http::Request request, http::Responder respond);
    // The client's address: the peer's, or the front's word for it.
    std::string ClientAddress(const http::Request& request) const;

    struct Instruments;  // the series the routes count on

    GameService& games_;
    // Before the options, whose refusal counts on them, and the pools, whose tasks do.
    metrics::Registry registry_;
    std::unique_ptr<Instruments> instruments_;
    RouteOptions options_;
    // Declared before the server, so they outlive it: answers of work still queued go out
    // through Responders that outlive the loop.
    http::TaskPool work_;
    http::TaskPool logins_;
    http::Server server_;
};

}  // namespace ladder
