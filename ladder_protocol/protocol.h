#pragma once

// The ladder protocol, version 2: what the engine component and the ladder server say to
// each other over HTTP with JSON bodies. Both sides include this header, so a name changes in
// one place.
//
//   POST /v2/games/start    {"user": text, "password": text}
//        200 {"game_id": text, "puzzle": 81 characters, "." for an empty cell}
//        403 {"error": "ERROR_NOT_ENABLED_ONLINE"}   unknown user, wrong password or not
//                                                    enabled, alike
//   POST /v2/games/finish   {"user": text, "password": text, "game_id": text,
//                            "grid": 81 characters}
//        200 {"seconds": integer}                    the official time, by the database's clock
//        403 {"error": "ERROR_NOT_ENABLED_ONLINE"}   the account was disabled since the start;
//                                                    the game stays open
//        404 {"error": "ERRORE_NON_LADDER"}          no open game of that id for that user
//        422 {"error": "ERRORE_NON_COMPLETATA"}      not a correct solution; the game is closed
//   POST /v2/games/forfeit  {"user": text, "password": text, "game_id": text}
//        200 {}
//        403 {"error": "ERROR_NOT_ENABLED_ONLINE"}   as for a finish
//        404 {"error": "ERRORE_NON_LADDER"}
//   GET  /v2/version
//        200 {"version": "1.2.0", "download": url}   both empty until the operator sets them
//   GET  /v2/standings[?limit=N][&after=CURSOR | &before=CURSOR | &player=NAME]
//        200 {"standings": [{"place": integer, "user": text, "solved": integer,
//                            "best_seconds": integer or null}],
//             "players": integer, "previous": CURSOR or null, "next": CURSOR or null}
//        404 {"error": "NOT_FOUND"}                   player= names nobody in the standings
//        304 (no body)                                If-None-Match names the answer's ETag
//   GET  / and GET /standings, with the same parameters
//        200 the same page of standings as HTML for people, with links to the pages before
//        and after it and a form to find a player; cached alike. 404 and 400 are pages too.
//
// Anything else the server cannot take answers 4xx with {"error": code, "message": text}:
// 400 BAD_REQUEST (malformed JSON, a missing field, a wrong type, a bad query, bytes that are
// no HTTP request, or a request that did not arrive in time), 404 NOT_FOUND (no such route),
// 405 METHOD_NOT_ALLOWED, 413 TOO_LARGE (a body over kMaxBodyBytes, headers over the
// server's limits).
//
// Any route may also answer that the ladder cannot serve it now, whatever was asked:
//   503 {"error": "BUSY"}, with Retry-After in seconds   too many requests waiting already
//   429 {"error": "BUSY"}                                 the front's rate limit for the client
//   502 or 504 {"error": "UNAVAILABLE"}                   the front reached no ladder server
//   500 {"error": "INTERNAL_ERROR"}                       the ladder's storage failed
// A client treats 429 and 503 as "busy, try again soon" and 500, 502 and 504 as "cannot be
// reached now", whatever their bodies say.

#include <cstddef>

namespace ladder {

inline constexpr int kProtocolVersion = 2;
inline constexpr std::size_t kMaxBodyBytes = 16 * 1024;
inline constexpr const char* kDefaultServerUrl = "http://127.0.0.1:8642";
// The engine reads the server's address from this environment variable at every request.
inline constexpr const char* kServerUrlVariable = "QUILLMARK_LADDER_URL";
// For https:// addresses: a PEM file of certificate authorities the engine trusts besides the
// system's, for a private ladder with a certificate of its own. Read at every request.
inline constexpr const char* kCaFileVariable = "QUILLMARK_LADDER_CA_FILE";

namespace paths {
inline constexpr const char* kStart = "/v2/games/start";
inline constexpr const char* kFinish = "/v2/games/finish";
inline constexpr const char* kForfeit = "/v2/games/forfeit";
inline constexpr const char* kVersion = "/v2/version";
// One page of the standings in ranking order: limit=N rows (1 to 200, default 50) from the
// top, after=CURSOR or before=CURSOR (the rows right after or before it) or player=NAME (the
// rows around that player's). At most one of the three; an unknown or repeated parameter, a
// bad number or cursor is 400 BAD_REQUEST. players counts everyone who has started a game;
// equals in solved and best share a place ("1, 2, 2, 4"). previous and next are the cursors
// of the first and last rows, null when nobody is ranked before or after them. A CURSOR is
// "<solved>.<best_seconds>.<user>", the best empty when there is none ("12.345.alice",
// "0..bob"), split at its first two dots since a user may hold dots; any values are a place in
// the order; percent-encoded in the query. The page answers (JSON and HTML) carry
// "Cache-Control: public, max-age=5" and a strong ETag, so a front may serve them for 5 s.
inline constexpr const char* kStandings = "/v2/standings";
// The standings as an HTML page for players' browsers, at both addresses.
inline constexpr const char* kHome = "/";
inline constexpr const char* kStandingsPage = "/standings";
// For operators, not players: 200 {"status": "ok"} while the server reaches its database,
// 503 {"status": "unavailable"} while it does not; and the server's metrics in Prometheus'
// text format. Fronts keep both from the public.
inline constexpr const char* kHealth = "/healthz";
inline constexpr const char* kMetrics = "/metrics";
}  // namespace paths

namespace codes {
inline constexpr const char* kNotEnabled = "ERROR_NOT_ENABLED_ONLINE";
inline constexpr const char* kNotLadder = "ERRORE_NON_LADDER";
inline constexpr const char* kNotCompleted = "ERRORE_NON_COMPLETATA";
inline constexpr const char* kBadRequest = "BAD_REQUEST";
inline constexpr const char* kNotFound = "NOT_FOUND";
inline constexpr const char* kMethodNotAllowed = "METHOD_NOT_ALLOWED";
inline constexpr const char* kTooLarge = "TOO_LARGE";
inline constexpr const char* kBusy = "BUSY";
inline constexpr const char* kUnavailable = "UNAVAILABLE";
}  // namespace codes

}  // namespace ladder
