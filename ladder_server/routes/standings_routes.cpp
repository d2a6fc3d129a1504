#include "ladder_server/routes/standings_routes.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "ladder_protocol/protocol.h"
#include "ladder_server/routes/json_answers.h"
#include "ladder_server/routes/standings_page.h"
#include "ladder_server/routes/standings_request.h"

namespace ladder {

using nlohmann::json;

// Marks a standings answer as cacheable by anyone for a few seconds, and answers 304 without
// the body when the request's If-None-Match names it already.
namespace {

http::Response Cacheable(const http::Request& request, http::Response response) {
    const std::string tag = EntityTag(response.body);
    const std::vector<http::Header> cache = {{"Cache-Control", "public, max-age=5"}, {"ETag", tag}};
    const bool known = std::any_of(request.headers.begin(), request.headers.end(),
                                   [&](const http::Header& header) {
                                       return http::SameName(header.name, "If-None-Match") &&
                                              NoneMatchNames(header.value, tag);
                                   });
    if (known) {
        http::Response unchanged;
        unchanged.status = 304;
        unchanged.headers = cache;
        return unchanged;
    }
    response.headers.insert(response.headers.end(), cache.begin(), cache.end());
    return response;
}

}  // namespace

// One page of the standings as the query asks (limit, and after, before or player: see
// ParseStandingsQuery), with the cursors of the pages beside it.
http::Response StandingsJson(GameService& games, const http::Request& request) {
    auto parsed = ParseStandingsQuery(request.query);
    if (const auto* bad = std::get_if<BadRequest>(&parsed)) {
        return Refuse(400, codes::kBadRequest, bad->message);
    }
    const StandingsQuery& query = std::get<StandingsQuery>(parsed);
    const std::optional<StandingsPage> page = games.Standings(query);
    if (!page) {
        return Refuse(404, codes::kNotFound, "no player of that name is in the standings");
    }
    json rows = json::array();
    for (const Standing& standing : page->rows) {
        rows.push_back(
            {{"place", standing.place},
             {"user", standing.user},
             {"solved", standing.solved},
             {"best_seconds", standing.bestSeconds ? json(*standing.bestSeconds) : json(nullptr)}});
    }
    const PageCursors cursors = CursorsOf(*page);
    const auto cursor = [](const std::optional<std::string>& text) {
        return text ? json(*text) : json(nullptr);
    };
    return Cacheable(request, Answer(200, json{{"standings", std::move(rows)},
                                               {"players", page->players},
                                               {"previous", cursor(cursors.previous)},
                                               {"next", cursor(cursors.next)}}));
}

// The same page for people; a query it cannot read or a player not in the standings is a page
// with a message, never cached.
http::Response StandingsHtml(GameService& games, const http::Request& request) {
    http::Response page;
    page.headers = {
        {"Content-Type", "text/html; charset=utf-8"},
        // Nothing but the page's own style may run or load, whatever a name holds; its one
        // form goes nowhere but here.
        {"Content-Security-Policy",
         "default-src 'none'; style-src 'unsafe-inline'; base-uri 'none'; "
         "form-action 'self'; frame-ancestors 'none'"},
        {"X-Content-Type-Options", "nosniff"},
    };
    PageAddress address;
    address.path = request.path;
    auto parsed = ParseStandingsQuery(request.query);
    if (const auto* bad = std::get_if<BadRequest>(&parsed)) {
        page.status = 400;
        page.headers.push_back({"Cache-Control", "no-cache"});
        page.body = RenderStandingsMessage(
            "This page of the standings cannot be shown: " + bad->message + ".", address);
        return page;
    }
    const StandingsQuery& query = std::get<StandingsQuery>(parsed);
    address.limit = query.limit;
    address.player = query.player;
    const std::optional<StandingsPage> standings = games.Standings(query);
    if (!standings) {
        page.status = 404;
        page.headers.push_back({"Cache-Control", "no-cache"});
        page.body = RenderStandingsMessage(
            "Nobody called \u201c" + query.player + "\u201d is in the standings.", address);
        return page;
    }
    page.body = RenderStandingsPage(*standings, CursorsOf(*standings), address);
    return Cacheable(request, std::move(page));
}

}  // namespace ladder
