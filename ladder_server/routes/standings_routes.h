#pragma once

// The standings' two routes: GET /v2/standings in JSON and the page for people at / and
// /standings, one page of the standings each as the query asks (ParseStandingsQuery), both
// cacheable for a few seconds by anyone and answered 304 when If-None-Match names them.

#include "ladder_server/http/message.h"
#include "ladder_server/service/game_service.h"

namespace ladder {

http::Response StandingsJson(GameService& games, const http::Request& request);
http::Response StandingsHtml(GameService& games, const http::Request& request);

}  // namespace ladder
