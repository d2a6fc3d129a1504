#pragma once

// The ladder's standings as a web page for players: rendered here, whole, with its style inline,
// so it needs no script and no file from anywhere else, and reads on a phone as on a desktop.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ladder_server/store/store.h"

namespace ladder {

// text with &, <, >, " and ' written as character references: safe in HTML text and in a
// quoted attribute.
std::string EscapeHtml(std::string_view text);

// "hh : mm : ss", as the game's stopwatch shows a time; hours go past 99 when they must.
std::string TimeText(std::int64_t seconds);

// The page of standings, in the order given (the store's: most solved first, then the best
// time, then the name). Players equal in both share a rank.
std::string StandingsPage(const std::vector<Standing>& standings);

}  // namespace ladder
