#pragma once

// The ladder's standings as a web page for players: rendered here, whole, with its style inline,
// so it needs no script and no file from anywhere else, and reads on a phone as on a desktop.
// One page of rows at a time, with plain links to the pages before and after it and a plain
// GET form to find a player.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ladder_server/routes/standings_request.h"
#include "ladder_server/store/store.h"

namespace ladder {

// text with &, <, >, " and ' written as character references: safe in HTML text and in a
// quoted attribute.
std::string EscapeHtml(std::string_view text);

// "hh : mm : ss", as the game's stopwatch shows a time; hours go past 99 when they must.
std::string TimeText(std::int64_t seconds);

// Where the page's links and form lead: the page's own path ("/" or "/standings"), the rows
// per page asked for, kept in every link and in the form unless it is the default, and the
// player the page was found for, if any, marked in the rows and kept in the form.
struct PageAddress {
    std::string path = "/standings";
    std::size_t limit = kDefaultStandingsRows;
    std::string player;
};

// The page of one page of the standings: its rows in the order given with the places they
// carry, how many players there are, "Previous" and "Next" links where cursors has them, and
// the form to find a player.
std::string RenderStandingsPage(const StandingsPage& page, const PageCursors& cursors,
                                const PageAddress& address);

// The same page with message in place of the rows (a player not in the standings, a query
// the page cannot read), still with the form and a link to the first page.
std::string RenderStandingsMessage(std::string_view message, const PageAddress& address);

}  // namespace ladder
