#include "ladder_server/http_server.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <iostream>
#include <memory>
#include <string_view>

#include "ladder_server/protocol.h"
#include "ladder_server/requests.h"

namespace ladder {

namespace {

using httplib::Request;
using httplib::Response;
using HandlerResponse = httplib::Server::HandlerResponse;
using nlohmann::json;

// Not in the protocol's list because no well-formed request earns it: a storage failure.
constexpr const char* kInternalError = "INTERNAL_ERROR";
constexpr const char* kJson = "application/json";

struct Route {
    const char* method;
    const char* path;
};

constexpr std::array kRoutes{
    Route{"POST", paths::kStart},  Route{"POST", paths::kFinish},   Route{"POST", paths::kForfeit},
    Route{"GET", paths::kVersion}, Route{"GET", paths::kStandings},
};

void Answer(Response& response, int status, const json& body) {
    response.status = status;
    response.set_content(body.dump(), kJson);
}

void Refuse(Response& response, int status, const char* code, std::string_view message) {
    Answer(response, status, json{{"error", code}, {"message", message}});
}

// Whatever of a refused request's body is still unread would be taken for the next request
// on the connection, so the connection ends with this answer. The library keeps a
// connection unless the request asked to close it, but drops it when a content provider
// fails; so the answer goes out through a provider that writes it whole, then fails.
void RefuseAndClose(Response& response, int status, const char* code, std::string_view message) {
    auto body =
        std::make_shared<const std::string>(json{{"error", code}, {"message", message}}.dump());
    response.status = status;
    response.body.clear();
    response.set_header("Connection", "close");
    response.set_content_provider(
        body->size(), kJson,
        [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            sink.write(body->data() + offset, length);
            return false;
        });
}

void Refuse(Response& response, Refusal refusal) {
    switch (refusal) {
        case Refusal::NotEnabled:
            return Refuse(response, 403, codes::kNotEnabled,
                          "unknown user, wrong password or not enabled for online games");
        case Refusal::NotLadder:
            return Refuse(response, 404, codes::kNotLadder, "no open ladder game of that id");
        case Refusal::NotCompleted:
            return Refuse(response, 422, codes::kNotCompleted,
                          "the grid does not solve the puzzle; the game is over");
    }
}

// Content-Length as a number, when the header is there and is one.
std::optional<std::uint64_t> ContentLength(const Request& request, bool* malformed) {
    *malformed = false;
    if (!request.has_header("Content-Length")) {
        return std::nullopt;
    }
    const std::string text = request.get_header_value("Content-Length");
    std::uint64_t length = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        *malformed = true;
        return std::nullopt;
    }
    return length;
}

bool IsChunked(const Request& request) {
    return request.has_header("Transfer-Encoding");
}

// Decides, from the request line and headers alone, every request that cannot reach a
// route, so no body of such a request is ever read.
HandlerResponse PreRoute(const Request& request, Response& response) {
    bool malformedLength = false;
    const auto length = ContentLength(request, &malformedLength);
    const bool hasBody = (length && *length > 0) || IsChunked(request) || malformedLength;
    if (malformedLength) {
        RefuseAndClose(response, 400, codes::kBadRequest, "malformed Content-Length");
        return HandlerResponse::Handled;
    }
    if (length && *length > kMaxBodyBytes) {
        RefuseAndClose(response, 413, codes::kTooLarge,
                       "the body is over " + std::to_string(kMaxBodyBytes) + " bytes");
        return HandlerResponse::Handled;
    }
    const auto route = std::find_if(kRoutes.begin(), kRoutes.end(),
                                    [&](const Route& r) { return request.path == r.path; });
    const auto reply = [hasBody](Response& r, int status, const char* code,
                                 std::string_view message) {
        hasBody ? RefuseAndClose(r, status, code, message) : Refuse(r, status, code, message);
    };
    if (route == kRoutes.end()) {
        reply(response, 404, codes::kNotFound, "no such route");
        return HandlerResponse::Handled;
    }
    const std::string method = request.method == "HEAD" ? "GET" : request.method;
    if (method != route->method) {
        response.set_header("Allow",
                            std::string_view(route->method) == "GET" ? "GET, HEAD" : route->method);
        reply(response, 405, codes::kMethodNotAllowed,
              std::string("this route takes ") + route->method);
        return HandlerResponse::Handled;
    }
    if (method == "POST" && !length && !IsChunked(request)) {
        // Without a length the library would read until the client closes.
        RefuseAndClose(response, 400, codes::kBadRequest, "a JSON body with a length is needed");
        return HandlerResponse::Handled;
    }
    return HandlerResponse::Unhandled;
}

// Answers what the library refuses by itself (a malformed request line, an overlong URI, ...)
// in the same JSON form as everything else.
HandlerResponse FillError(const Request&, Response& response) {
    if (!response.body.empty() || response.has_header("Content-Type")) {
        return HandlerResponse::Unhandled;  // answered already
    }
    const char* code = response.status == 404   ? codes::kNotFound
                       : response.status == 405 ? codes::kMethodNotAllowed
                       : response.status == 413 ? codes::kTooLarge
                       : response.status >= 500 ? kInternalError
                                                : codes::kBadRequest;
    // What the library could not read may still wait on the connection.
    RefuseAndClose(
        response, response.status, code,
        "the server cannot take this request (HTTP " + std::to_string(response.status) + ")");
    return HandlerResponse::Handled;
}

void AnswerInternalError(const Request& request, Response& response, std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        std::cerr << "error: " << request.method << ' ' << request.path << ": " << e.what()
                  << std::endl;
    } catch (...) {
        std::cerr << "error: " << request.method << ' ' << request.path << std::endl;
    }
    Refuse(response, 500, kInternalError, "the server could not answer");
}

// A POST route: reads the body, at most kMaxBodyBytes of it even when chunked, and hands it
// on with the request parsed by parse.
template <class Parse, class Handle>
httplib::Server::HandlerWithContentReader PostRoute(Parse parse, Handle handle) {
    return [parse, handle](const Request&, Response& response,
                           const httplib::ContentReader& reader) {
        std::string body;
        bool tooLarge = false;
        const bool read = reader([&](const char* data, std::size_t size) {
            if (body.size() + size > kMaxBodyBytes) {
                tooLarge = true;
                return false;
            }
            body.append(data, size);
            return true;
        });
        if (tooLarge) {
            return RefuseAndClose(response, 413, codes::kTooLarge,
                                  "the body is over " + std::to_string(kMaxBodyBytes) + " bytes");
        }
        if (!read) {
            return RefuseAndClose(response, 400, codes::kBadRequest, "the body could not be read");
        }
        auto parsed = parse(body);
        if (const auto* bad = std::get_if<BadRequest>(&parsed)) {
            return Refuse(response, 400, codes::kBadRequest, bad->message);
        }
        handle(std::get<0>(parsed), response);
    };
}

}  // namespace

HttpServer::HttpServer(GameService& games, int threads) {
    const auto poolSize = static_cast<std::size_t>(std::max(1, threads));
    // The library takes ownership of the queue it is given and deletes it when done.
    server_.new_task_queue = [poolSize] { return new httplib::ThreadPool(poolSize); };
    server_.set_payload_max_length(kMaxBodyBytes);
    server_.set_keep_alive_max_count(100);
    // An answer goes out as two writes, headers then body; with Nagle's algorithm the body
    // would wait for the client's delayed acknowledgement, some 40 ms.
    server_.set_tcp_nodelay(true);
    server_.set_pre_routing_handler(PreRoute);
    server_.set_error_handler(httplib::Server::HandlerWithResponse(FillError));
    server_.set_exception_handler(AnswerInternalError);

    server_.Post(paths::kStart,
                 PostRoute(ParseStartRequest, [&games](const StartRequest& request, Response& r) {
                     const auto answer = games.Start(request.user, request.password);
                     if (const auto* refusal = std::get_if<Refusal>(&answer)) {
                         return Refuse(r, *refusal);
                     }
                     const auto& started = std::get<StartedGame>(answer);
                     Answer(r, 200, json{{"game_id", started.gameId}, {"puzzle", started.puzzle}});
                 }));
    server_.Post(paths::kFinish,
                 PostRoute(ParseFinishRequest, [&games](const FinishRequest& request, Response& r) {
                     const auto answer = games.Finish(request.user, request.gameId, request.grid);
                     if (const auto* refusal = std::get_if<Refusal>(&answer)) {
                         return Refuse(r, *refusal);
                     }
                     Answer(r, 200, json{{"seconds", std::get<std::int64_t>(answer)}});
                 }));
    server_.Post(
        paths::kForfeit,
        PostRoute(ParseForfeitRequest, [&games](const ForfeitRequest& request, Response& r) {
            const auto answer = games.Forfeit(request.user, request.gameId);
            if (const auto* refusal = std::get_if<Refusal>(&answer)) {
                return Refuse(r, *refusal);
            }
            Answer(r, 200, json::object());
        }));
    server_.Get(paths::kVersion, [&games](const Request&, Response& r) {
        const VersionInfo version = games.Version();
        Answer(r, 200, json{{"version", version.version}, {"download", version.download}});
    });
    server_.Get(paths::kStandings, [&games](const Request&, Response& r) {
        json rows = json::array();
        for (const Standing& standing : games.Standings()) {
            rows.push_back({{"user", standing.user},
                            {"solved", standing.solved},
                            {"best_seconds",
                             standing.bestSeconds ? json(*standing.bestSeconds) : json(nullptr)}});
        }
        Answer(r, 200, json{{"standings", std::move(rows)}});
    });
}

int HttpServer::Bind(const std::string& address, int port) {
    if (port == 0) {
        return server_.bind_to_any_port(address);
    }
    return server_.bind_to_port(address, port) ? port : -1;
}

bool HttpServer::Listen() {
    return server_.listen_after_bind();
}

void HttpServer::Stop() {
    server_.stop();
}

}  // namespace ladder
