#pragma once

// Reading which page of the standings a GET asks for, and writing the cursors that lead to
// the pages beside it: pure functions of the request target's query and of a page, shared by
// the JSON route and the HTML page. They never throw, whatever the bytes.
//
// A cursor names a place in the ranking order as "<solved>.<best_seconds>.<user>", the best
// empty when there is none ("12.345.alice", "0..bob"). The user comes last and may hold dots
// itself: the text splits at its first two dots.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ladder_server/routes/requests.h"
#include "ladder_server/store/store.h"

namespace ladder {

// Rows of a page without limit=, and the most a page may ask for.
inline constexpr std::size_t kDefaultStandingsRows = 50;
inline constexpr std::size_t kMaxStandingsRows = 200;

// The pairs of a query string ("limit=5&player=bob"), in order, names and values
// percent-decoded and '+' read as a blank. A pair without '=' has an empty value; empty
// pairs ("a=1&&b=2") are skipped. Nothing when a '%' is not followed by two hex digits.
std::optional<std::vector<std::pair<std::string, std::string>>> ParseQueryString(
    std::string_view query);

// text with every byte but letters, digits and "-._~" written as %XX: safe as a query value.
std::string EncodeQueryValue(std::string_view text);

std::string FormatStandingKey(const StandingKey& key);

// Nothing unless solved and best are decimal numbers from 0 to 2^63 - 1 (the best may be
// empty) and the user is 1 to 32 bytes, none of them a control character. A cursor names a
// place, not a player, so the user need not be a valid account name.
std::optional<StandingKey> ParseStandingKey(std::string_view text);

// The query of a request target (after '?', not yet decoded) as a page of the standings:
// limit=N (1 to kMaxStandingsRows, default kDefaultStandingsRows) and at most one of
// after=CURSOR, before=CURSOR or player=NAME; nothing else, none of them twice. No
// parameter: the first page. A BadRequest for anything else, in a sentence that quotes no
// input.
Parsed<StandingsQuery> ParseStandingsQuery(std::string_view query);

// The cursors of the pages before and after page: the first row's key while players are
// ranked before it, the last row's while players are ranked after it. A page of no rows (one
// read past an end) has neither.
struct PageCursors {
    std::optional<std::string> previous;  // read with before=
    std::optional<std::string> next;      // read with after=
};
PageCursors CursorsOf(const StandingsPage& page);

// The strong entity tag of an answer: a 64-bit hash of its body (FNV-1a, the same in every
// server process behind a front), as 16 hex digits in quotes.
std::string EntityTag(std::string_view body);

// Whether an If-None-Match value (a comma list of entity tags, each maybe with W/, or "*")
// names tag, by the weak comparison RFC 9110 asks of If-None-Match. A malformed list matches
// nothing past where it goes wrong.
bool NoneMatchNames(std::string_view ifNoneMatch, std::string_view tag);

}  // namespace ladder
