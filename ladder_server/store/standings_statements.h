#pragma once

// The statements both stores read the kept standings with. Their parameters are written
// $1, $2, ... and first appear in that order, so SQLite binds them by position as PostgreSQL
// does. A key is (solved, best_seconds, name); a page is read as two index ranges, the rest
// of the key's own solved and then the levels beyond it, each cut to the page's size.

namespace ladder::standings_sql {

#define LADDER_STANDING_ROWS(inner)                                   \
    "SELECT p.name, p.solved, p.best_seconds, g.players FROM (" inner \
    ") AS p JOIN standing_groups AS g "                               \
    "ON g.solved = p.solved AND g.best_seconds = p.best_seconds "

// $1 solved, $2 best_seconds, $3 name, $4 rows: the rows ranked after the key.
inline constexpr const char* kAfter = LADDER_STANDING_ROWS(
    "SELECT * FROM (SELECT name, solved, best_seconds FROM standings "
    "WHERE solved = $1 AND (best_seconds, name) > ($2, $3) "
    "ORDER BY best_seconds, name LIMIT $4) AS same_level "
    "UNION ALL "
    "SELECT * FROM (SELECT name, solved, best_seconds FROM standings WHERE solved < $1 "
    "ORDER BY solved DESC, best_seconds, name LIMIT $4) AS lower_levels")
    "ORDER BY p.solved DESC, p.best_seconds, p.name LIMIT $4";

// The same: the rows ranked before the key, nearest first.
inline constexpr const char* kBefore = LADDER_STANDING_ROWS(
    "SELECT * FROM (SELECT name, solved, best_seconds FROM standings "
    "WHERE solved = $1 AND (best_seconds, name) < ($2, $3) "
    "ORDER BY best_seconds DESC, name DESC LIMIT $4) AS same_level "
    "UNION ALL "
    "SELECT * FROM (SELECT name, solved, best_seconds FROM standings WHERE solved > $1 "
    "ORDER BY solved, best_seconds DESC, name DESC LIMIT $4) AS higher_levels")
    "ORDER BY p.solved, p.best_seconds DESC, p.name DESC LIMIT $4";

// $1 name.
inline constexpr const char* kFind =
    LADDER_STANDING_ROWS("SELECT name, solved, best_seconds FROM standings WHERE name = $1") "";

#undef LADDER_STANDING_ROWS

// $1 solved, $2 best_seconds: the players ranked ahead of that group.
inline constexpr const char* kAhead =
    "SELECT (SELECT COALESCE(SUM(players), 0) FROM standing_levels WHERE solved > $1) + "
    "(SELECT COALESCE(SUM(players), 0) FROM standing_groups "
    "WHERE solved = $1 AND best_seconds < $2)";

inline constexpr const char* kPlayers = "SELECT COALESCE(SUM(players), 0) FROM standing_levels";

}  // namespace ladder::standings_sql
