#include "ladder_server/routes/ladder_routes.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <iostream>
#include <string_view>
#include <thread>

#include "ladder_server/http/address.h"
#include "ladder_protocol/protocol.h"
#include "ladder_server/routes/requests.h"
#include "ladder_server/routes/standings_page.h"

namespace ladder {

namespace {

using nlohmann::json;

// Not in the protocol's list because no well-formed request earns it: a storage failure.
constexpr const char* kInternalError = "INTERNAL_ERROR";

enum class RouteKind { Start, Finish, Forfeit, Version, Standings, StandingsPage };

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
};

http::Response Answer(int status, const json& body) {
    http::Response response;
    response.status = status;
    response.headers.push_back({"Content-Type", "application/json"});
    response.body = body.dump();
    return response;
}

http::Response Refuse(int status, const char* code, std::string_view message) {
    return Answer(status, json{{"error", code}, {"message", message}});
}

http::Response Refuse(Refusal refusal) {
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

// Runs work, whose answer it returns; a storage failure is logged and answered 500.
template <class Work>
http::Response Guarded(const http::Request& request, Work work) {
    try {
        return work();
    } catch (const std::exception& e) {
        std::cerr << "error: " << request.method << ' ' << request.path << ": " << e.what()
                  << std::endl;
    } catch (...) {
        std::cerr << "error: " << request.method << ' ' << request.path << std::endl;
    }
    return Refuse(500, kInternalError, "the server could not answer");
}

template <class T, class Make>
http::Response FromAnswer(const GameAnswer<T>& answer, Make make) {
    if (const auto* refusal = std::get_if<Refusal>(&answer)) {
        return Refuse(*refusal);
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
        case RouteKind::Standings: {
            json rows = json::array();
            for (const Standing& standing : games.Standings()) {
                rows.push_back({{"user", standing.user},
                                {"solved", standing.solved},
                                {"best_seconds", standing.bestSeconds ? json(*standing.bestSeconds)
                                                                      : json(nullptr)}});
            }
            return Answer(200, json{{"standings", std::move(rows)}});
        }
        case RouteKind::StandingsPage: {
            http::Response page;
            page.headers = {
                {"Content-Type", "text/html; charset=utf-8"},
                // Nothing but the page's own style may run or load, whatever a name holds.
                {"Content-Security-Policy",
                 "default-src 'none'; style-src 'unsafe-inline'; base-uri 'none'; "
                 "form-action 'none'; frame-ancestors 'none'"},
                {"X-Content-Type-Options", "nosniff"},
                {"Cache-Control", "no-cache"},
            };
            page.body = StandingsPage(games.Standings());
            return page;
        }
        case RouteKind::Start:
            break;
    }
    return Refuse(500, kInternalError, "no such work");
}

// Work waiting beside each running one before the server answers busy.
constexpr std::size_t kWorkQueuePerThread = 64;

RouteOptions WithDefaults(RouteOptions options) {
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
    options.server.limits.maxBodyBytes = kMaxBodyBytes;
    options.server.refusal = ConnectionRefusal;
    return options;
}

}  // namespace

LadderRoutes::LadderRoutes(GameService& games, RouteOptions options)
    : games_(games),
      options_(WithDefaults(std::move(options))),
      work_(options_.threads, kWorkQueuePerThread * static_cast<std::size_t>(options_.threads)),
      logins_(options_.loginThreads, options_.loginQueue, options_.loginQueuePerAddress),
      server_([this](http::Request request,
                     http::Responder respond) { Dispatch(std::move(request), std::move(respond)); },
              options_.server) {}

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

void LadderRoutes::Dispatch(http::Request request, http::Responder respond) {
    const auto route = std::find_if(kRoutes.begin(), kRoutes.end(),
                                    [&](const RouteEntry& r) { return request.path == r.path; });
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
                return respond(Refuse(Refusal::NotEnabled));
            }
            // Logins from different addresses take turns: a flood from one address waits
            // behind itself, not in front of everybody else. The address is copied: it is the
            // queue's key too.
            const bool queued = logins_.TrySubmit(
                [this, request = std::move(request), start = std::move(start), address, respond] {
                    respond(Guarded(request, [&] {
                        return FromAnswer(games_.Start(start.user, start.password, address),
                                          [](const StartedGame& game) {
                                              return Answer(200, json{{"game_id", game.gameId},
                                                                      {"puzzle", game.puzzle}});
                                          });
                    }));
                },
                address);
            if (!queued) {
                respond(Busy());
            }
            return;
        }
        case RouteKind::Finish:
        case RouteKind::Forfeit:
        case RouteKind::Version:
        case RouteKind::Standings:
        case RouteKind::StandingsPage:
            break;
    }
    const RouteKind kind = route->kind;
    const bool queued = work_.TrySubmit([this, kind, request = std::move(request), respond] {
        respond(Guarded(request, [&] { return Work(games_, kind, request); }));
    });
    if (!queued) {
        respond(Busy());
    }
}

}  // namespace ladder
