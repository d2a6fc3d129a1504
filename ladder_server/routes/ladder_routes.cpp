#include "ladder_server/routes/ladder_routes.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <iostream>
#include <string_view>
#include <thread>

#include "ladder_protocol/protocol.h"
#include "ladder_server/http/address.h"
#include "ladder_server/routes/json_answers.h"
#include "ladder_server/routes/requests.h"
#include "ladder_server/routes/standings_routes.h"

namespace ladder {

namespace {

using nlohmann::json;

// Not in the protocol's list because no well-formed request earns it: a storage failure.
constexpr const char* kInternalError = "INTERNAL_ERROR";

enum class RouteKind { Start, Finish, Forfeit, Version, Standings, StandingsPage, Health, Metrics };

struct RouteEntry {
    const char* method;
    const char* path;
    RouteKind kind;
};

constexpr std::array kRoutes{
    RouteEntry{"POST", paths::kStart, RouteKind::Start},
    RouteEntry{"POST", paths::kFinish, RouteKind::Finish},
    RouteEntry{"POST", paths::kForfeit, RouteKind::Forfeit},
    RouteEntry{"GET", paths::kVersion, RouteKind::Version},
    RouteEntry{"GET", paths::kStandings, RouteKind::Standings},
    RouteEntry{"GET", paths::kStandingsPage, RouteKind::StandingsPage},
    RouteEntry{"GET", paths::kHome, RouteKind::StandingsPage},
    RouteEntry{"GET", paths::kHealth, RouteKind::Health},
    RouteEntry{"GET", paths::kMetrics, RouteKind::Metrics},
};
// Every path of no route is counted under this one label, so that a scanner's guesses do not
// grow the metrics.
constexpr const char* kOtherRoute = "other";
constexpr std::size_t kOtherRouteIndex = kRoutes.size();

// The statuses the routes answer with, counted each on its own; any other under "other".
constexpr std::array kCountedStatuses{200, 304, 400, 403, 404, 405, 413, 422, 500, 503};

// Why a request was refused before any route's work: the transport's refusals by their
// status, and the routes' own.
enum class Reason {
    BadRequest,
    Timeout,
    TooLarge,
    Unsupported,
    Unanswered,
    Other,
    Busy,
    Throttled
};
constexpr std::array<const char*, 8> kReasonLabels{"bad_request", "timeout",        "too_large",
                                                   "unsupported", "unanswered",     "other",
                                                   "busy",        "login_throttled"};

Reason TransportReason(int status) {
    switch (status) {
        case 400:
            return Reason::BadRequest;
        case 408:
            return Reason::Timeout;
        case 413:
        case 414:
        case 431:
            return Reason::TooLarge;
        case 417:
        case 501:
        case 505:
            return Reason::Unsupported;
        case 500:
            return Reason::Unanswered;
        default:
            return Reason::Other;
    }
}

http::Response RefusalAnswer(Refusal refusal) {
    switch (refusal) {
        case Refusal::NotEnabled:
            return Refuse(403, codes::kNotEnabled,
                          "unknown user, wrong password or not enabled for online games");
        case Refusal::NotLadder:
            return Refuse(404, codes::kNotLadder, "no open ladder game of that id");
        case Refusal::NotCompleted:
            return Refuse(422, codes::kNotCompleted,
                          "the grid does not solve the puzzle; the game is over");
    }
    return Refuse(500, kInternalError, "unknown refusal");
}

http::Response Busy() {
    http::Response busy = Refuse(503, codes::kBusy, "the server is busy: try again in a moment");
    busy.headers.push_back({"Retry-After", "1"});
    return busy;
}

// The answer to bytes that are no request the connection could read.
http::Response ConnectionRefusal(int status, const std::string& message) {
    if (status == 500) {  // a request no handler answered
        return Refuse(500, kInternalError, "the server could not answer");
    }
    const char* code = status == 413 || status == 414 || status == 431 ? codes::kTooLarge
                       : status > 500                                  ? kInternalError
                                                                       : codes::kBadRequest;
    return Refuse(status, code, message);
}

// Runs work, whose answer it returns; a storage failure goes to logError and is answered 500.
template <class Work>
http::Response Guarded(const http::Request& request, const RouteOptions::ErrorLog& logError,
                       Work work) {
    try {
        return work();
    } catch (const std::exception& e) {
        logError(request.method + ' ' + request.path + ": " + e.what());
    } catch (...) {
        logError(request.method + ' ' + request.path);
    }
    return Refuse(500, kInternalError, "the server could not answer");
}

template <class T, class Make>
http::Response FromAnswer(const GameAnswer<T>& answer, Make make) {
    if (const auto* refusal = std::get_if<Refusal>(&answer)) {
        return RefusalAnswer(*refusal);
    }
    return make(std::get<T>(answer));
}

// A POST route's body read by parse and handed to handle, or the reason it is bad.
template <class Parse, class Handle>
http::Response WithBody(const http::Request& request, Parse parse, Handle handle) {
    auto parsed = parse(request.body);
    if (const auto* bad = std::get_if<BadRequest>(&parsed)) {
        return Refuse(400, codes::kBadRequest, bad->message);
    }
    return handle(std::get<0>(parsed));
}

// The routes but the start, run on the work pool.
http::Response Work(GameService& games, RouteKind kind, const http::Request& request) {
    switch (kind) {
        case RouteKind::Finish:
            return WithBody(request, ParseFinishRequest, [&](const FinishRequest& finish) {
                return FromAnswer(games.Finish(finish.user, finish.gameId, finish.grid),
                                  [](std::int64_t seconds) {
                                      return Answer(200, json{{"seconds", seconds}});
                                  });
            });
        case RouteKind::Forfeit:
            return WithBody(request, ParseForfeitRequest, [&](const ForfeitRequest& forfeit) {
                return FromAnswer(games.Forfeit(forfeit.user, forfeit.gameId),
                                  [](Forfeited) { return Answer(200, json::object()); });
            });
        case RouteKind::Version: {
            const VersionInfo version = games.Version();
            return Answer(200, json{{"version", version.version}, {"download", version.download}});
        }
        case RouteKind::Standings:
            return StandingsJson(games, request);
        case RouteKind::StandingsPage:
            return StandingsHtml(games, request);
        case RouteKind::Health: {
            // Nothing of why: the database's own words may name its address or its users.
            http::Response health = games.StoreReachable()
                                        ? Answer(200, json{{"status", "ok"}})
                                        : Answer(503, json{{"status", "unavailable"}});
            health.headers.push_back({"Cache-Control", "no-store"});
            return health;
        }
        case RouteKind::Start:
        case RouteKind::Metrics:
            break;
    }
    return Refuse(500, kInternalError, "no such work");
}

// Work waiting beside each running one before the server answers busy.
constexpr std::size_t kWorkQueuePerThread = 64;

// counted(status) is told of each refusal of the transport's before it is answered.
RouteOptions WithDefaults(RouteOptions options, std::function<void(int status)> counted) {
    options.threads = std::max(1, options.threads);
    if (options.loginThreads <= 0) {
        options.loginThreads = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    }
    if (options.loginQueue == 0) {
        options.loginQueue = 8 * static_cast<std::size_t>(options.loginThreads);
    }
    if (options.loginQueuePerAddress == 0) {
        options.loginQueuePerAddress = std::max<std::size_t>(1, options.loginQueue / 2);
    }
    if (!options.logError) {
        options.logError = [](const std::string& line) {
            std::cerr << "error: " << line << std::endl;
        };
    }
    options.server.limits.maxBodyBytes = kMaxBodyBytes;
    // A front's connections carry many clients: it is not held to one address's share.
    options.server.exemptPeers.insert(options.server.exemptPeers.end(),
                                      options.trustedProxies.begin(), options.trustedProxies.end());
    options.server.refusal = [counted = std::move(counted)](int status,
                                                            const std::string& message) {
        counted(status);
        return ConnectionRefusal(status, message);
    };
    return options;
}

}  // namespace

struct LadderRoutes::Instruments {
    struct Route {
        metrics::Histogram* latency = nullptr;
        // By kCountedStatuses, then every other status.
        std::array<metrics::Counter*, kCountedStatuses.size() + 1> answers{};
    };

    explicit Instruments(metrics::Registry& registry) {
        for (std::size_t i = 0; i < routes.size(); ++i) {
            const std::string route = i < kRoutes.size() ? kRoutes[i].path : kOtherRoute;
            for (std::size_t s = 0; s < routes[i].answers.size(); ++s) {
                const std::string status = s < kCountedStatuses.size()
                                               ? std::to_string(kCountedStatuses[s])
                                               : std::string("other");
                routes[i].answers[s] = &registry.AddCounter(
                    "quillmark_ladder_requests_total",
                    "Requests answered by the routes, by route (\"other\" for every unknown "
                    "path) and status.",
                    {{"route", route}, {"status", status}}, metrics::Registry::Shown::OnceCounted);
            }
        }
        for (std::size_t i = 0; i < routes.size(); ++i) {
            routes[i].latency = &registry.AddHistogram(
                "quillmark_ladder_request_duration_seconds",
                "Seconds from a request's arrival at the routes to its answer, by route.",
                metrics::LatencyBuckets(),
                {{"route", i < kRoutes.size() ? kRoutes[i].path : kOtherRoute}});
        }
        for (std::size_t i = 0; i < refusals.size(); ++i) {
            refusals[i] = &registry.AddCounter(
                "quillmark_ladder_refusals_total",
                "Requests refused before any work: by the transport (bad_request, timeout, "
                "too_large, unsupported, unanswered, other), or for a full queue (busy) or "
                "an address that must wait to log in (login_throttled).",
                {{"reason", kReasonLabels[i]}});
        }
        started =
            &registry.AddCounter("quillmark_ladder_games_started_total", "Ladder games started.");
        const std::string finished = "quillmark_ladder_games_finished_total";
        const std::string help = "Ladder games closed, by result.";
        solved = &registry.AddCounter(finished, help, {{"result", "solved"}});
        failed = &registry.AddCounter(finished, help, {{"result", "failed"}});
        forfeited = &registry.AddCounter(finished, help, {{"result", "forfeited"}});
    }

    // Counts the answer of a request to kRoutes[route] (kOtherRouteIndex: to no route) that
    // arrived then, and the game it started or closed.
    void Answered(std::size_t route, int status, std::chrono::steady_clock::time_point arrived) {
        const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - arrived;
        routes[route].latency->Observe(taken.count());
        const auto counted = std::find(kCountedStatuses.begin(), kCountedStatuses.end(), status);
        routes[route]
            .answers[static_cast<std::size_t>(counted - kCountedStatuses.begin())]
            ->Increment();
        if (route == kOtherRouteIndex) {
            return;
        }
        // These statuses are given by nothing but a game started or closed.
        const RouteKind kind = kRoutes[route].kind;
        if (kind == RouteKind::Start && status == 200) {
            started->Increment();
        } else if (kind == RouteKind::Finish && status == 200) {
            solved->Increment();
        } else if (kind == RouteKind::Finish && status == 422) {
            failed->Increment();
        } else if (kind == RouteKind::Forfeit && status == 200) {
            forfeited->Increment();
        }
    }

    void Refused(Reason reason) { refusals[static_cast<std::size_t>(reason)]->Increment(); }

    std::array<Route, kRoutes.size() + 1> routes;  // the last: paths of no route
    std::array<metrics::Counter*, kReasonLabels.size()> refusals{};
    metrics::Counter* started = nullptr;
    metrics::Counter* solved = nullptr;
    metrics::Counter* failed = nullptr;
    metrics::Counter* forfeited = nullptr;
};

LadderRoutes::LadderRoutes(GameService& games, RouteOptions options)
    : games_(games),
      instruments_(std::make_unique<Instruments>(registry_)),
      options_(WithDefaults(std::move(options),
                            [instruments = instruments_.get()](int status) {
                                instruments->Refused(TransportReason(status));
                            })),
      work_(options_.threads, kWorkQueuePerThread * static_cast<std::size_t>(options_.threads)),
      logins_(options_.loginThreads, options_.loginQueue, options_.loginQueuePerAddress),
      server_([this](http::Request request,
                     http::Responder respond) { Dispatch(std::move(request), std::move(respond)); },
              options_.server) {
    const auto waiting = [this](const char* queue) -> metrics::Gauge& {
        return registry_.AddGauge("quillmark_ladder_queue_waiting",
                                  "Requests waiting for a thread of their pool: login (starts) or "
                                  "work (everything else).",
                                  {{"queue", queue}});
    };
    metrics::Gauge& loginsWaiting = waiting("login");
    metrics::Gauge& workWaiting = waiting("work");
    metrics::Gauge& inUse = registry_.AddGauge("quillmark_ladder_db_connections_in_use",
                                               "Database connections lent to requests now.");
    metrics::Gauge& open = registry_.AddGauge("quillmark_ladder_db_connections_open",
                                              "Database connections made, idle or lent.");
    metrics::Gauge& max = registry_.AddGauge("quillmark_ladder_db_connections_max",
                                             "The most database connections the server makes.");
    registry_.AddCollector([this, &loginsWaiting, &workWaiting, &inUse, &open, &max] {
        loginsWaiting.Set(static_cast<double>(logins_.Waiting()));
        workWaiting.Set(static_cast<double>(work_.Waiting()));
        const PoolUse use = games_.StoreConnections();
        inUse.Set(use.inUse);
        open.Set(use.open);
        max.Set(use.max);
    });
}

LadderRoutes::~LadderRoutes() = default;

std::string LadderRoutes::ClientAddress(const http::Request& request) const {
    const auto& fronts = options_.trustedProxies;
    const bool fromFront =
        std::find(fronts.begin(), fronts.end(), request.peerAddress) != fronts.end();
    if (fromFront) {
        if (const std::string* real = request.Find("X-Real-IP");
            real && http::IsNumericAddress(*real)) {
            return *real;
        }
    }
    return request.peerAddress;
}

void LadderRoutes::Dispatch(http::Request request, http::Responder responder) {
    const auto arrived = std::chrono::steady_clock::now();
    const auto route = std::find_if(kRoutes.begin(), kRoutes.end(),
                                    [&](const RouteEntry& r) { return request.path == r.path; });
    // Counted before it goes out, so a client that has its answer finds it in the metrics.
    const auto respond = [instruments = instruments_.get(),
                          index = static_cast<std::size_t>(route - kRoutes.begin()), arrived,
                          responder = std::move(responder)](http::Response response) {
        instruments->Answered(index, response.status, arrived);
        responder(std::move(response));
    };
    if (route == kRoutes.end()) {
        return respond(Refuse(404, codes::kNotFound, "no such route"));
    }
    const std::string method = request.method == "HEAD" ? "GET" : request.method;
    if (method != route->method) {
        http::Response refused =
            Refuse(405, codes::kMethodNotAllowed, std::string("this route takes ") + route->method);
        refused.headers.push_back(
            {"Allow", std::string_view(route->method) == "GET" ? "GET, HEAD" : route->method});
        return respond(std::move(refused));
    }

    switch (route->kind) {
        case RouteKind::Start: {
            auto parsed = ParseStartRequest(request.body);
            if (const auto* bad = std::get_if<BadRequest>(&parsed)) {
                return respond(Refuse(400, codes::kBadRequest, bad->message));
            }
            auto start = std::get<StartRequest>(std::move(parsed));
            std::string address = ClientAddress(request);
            // A login that must wait is refused here, without a place in the queue.
            if (!games_.MayTryStart(start.user, address)) {
                instruments_->Refused(Reason::Throttled);
                return respond(RefusalAnswer(Refusal::NotEnabled));
            }
            // Logins from different addresses take turns: a flood from one address waits
            // behind itself, not in front of everybody else. The address is copied: it is the
            // queue's key too.
            const bool queued = logins_.TrySubmit(
                [this, request = std::move(request), start = std::move(start), address, respond] {
                    respond(Guarded(request, options_.logError, [&] {
                        return FromAnswer(games_.Start(start.user, start.password, address),
                                          [](const StartedGame& game) {
                                              return Answer(200, json{{"game_id", game.gameId},
                                                                      {"puzzle", game.puzzle}});
                                          });
                    }));
                },
                address);
            if (!queued) {
                instruments_->Refused(Reason::Busy);
                respond(Busy());
            }
            return;
        }
        case RouteKind::Metrics: {
            http::Response text;
            text.headers = {{"Content-Type", "text/plain; version=0.0.4"},
                            {"Cache-Control", "no-store"}};
            text.body = registry_.Render();
            return respond(std::move(text));
        }
        case RouteKind::Finish:
        case RouteKind::Forfeit:
        case RouteKind::Version:
        case RouteKind::Standings:
        case RouteKind::StandingsPage:
        case RouteKind::Health:
            break;
    }
    const RouteKind kind = route->kind;
    const bool queued = work_.TrySubmit([this, kind, request = std::move(request), respond] {
        respond(Guarded(request, options_.logError, [&] { return Work(games_, kind, request); }));
    });
    if (!queued) {
        instruments_->Refused(Reason::Busy);
        respond(Busy());
    }
}

}  // namespace ladder
