#pragma once

// The paging of the standings, the same for every store: a store answers a few small
// queries over its kept rows, from one snapshot, and ReadStandingsPage makes a page of them.

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "ladder_server/store/store.h"

namespace ladder {

// The best time kept for a player with none: it sorts after every time.
inline constexpr std::int64_t kNoBestSeconds = std::numeric_limits<std::int64_t>::max();

// A kept row: bestSeconds is kNoBestSeconds when there is none, and groupPlayers counts the
// players with the same solved and best (the row's own included).
struct StandingRow {
    std::string user;
    std::int64_t solved = 0;
    std::int64_t bestSeconds = kNoBestSeconds;
    std::int64_t groupPlayers = 1;
};

// The queries of one snapshot. Keys need not be current rows.
class StandingsReader {
public:
    virtual ~StandingsReader() = default;
    // The first limit rows ranked after key, in ranking order.
    virtual std::vector<StandingRow> After(const StandingRow& key, std::size_t limit) = 0;
    // The limit rows ranked right before key, nearest first.
    virtual std::vector<StandingRow> Before(const StandingRow& key, std::size_t limit) = 0;
    virtual std::optional<StandingRow> Find(std::string_view user) = 0;
    // The players with more solved than key's, or as many and a better time.
    virtual std::int64_t Ahead(const StandingRow& key) = 0;
    virtual std::int64_t Players() = 0;
};

// The kept form of a key.
StandingRow KeptKey(const StandingKey& key);

// The page query asks for; nothing when it is Around a player who is not in the standings.
std::optional<StandingsPage> ReadStandingsPage(StandingsReader& reader,
                                               const StandingsQuery& query);

}  // namespace ladder
