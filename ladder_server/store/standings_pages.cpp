#include "ladder_server/store/standings_pages.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace ladder {

namespace {

// A key ranked before every player: nobody solves that many.
const StandingRow kTop{"", std::numeric_limits<std::int64_t>::max(), 0, 1};

bool SameGroup(const StandingRow& a, const StandingRow& b) {
    return a.solved == b.solved && a.bestSeconds == b.bestSeconds;
}

// Rows in ranking order, with their places: the first one's counts the players ahead, and
// each later group starts as many places after the previous group as that group holds,
// whether or not all of it is on this page.
std::vector<Standing> Placed(StandingsReader& reader, const std::vector<StandingRow>& rows) {
    std::vector<Standing> placed;
    placed.reserve(rows.size());
    std::int64_t place = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const StandingRow& row = rows[i];
        if (i == 0) {
            place = reader.Ahead(row) + 1;
        } else if (!SameGroup(row, rows[i - 1])) {
            place += rows[i - 1].groupPlayers;
        }
        placed.push_back(Standing{
            row.user, row.solved,
            row.bestSeconds == kNoBestSeconds ? std::nullopt : std::optional(row.bestSeconds),
            place});
    }
    return placed;
}

}  // namespace

StandingRow KeptKey(const StandingKey& key) {
    return StandingRow{key.user, key.solved, key.bestSeconds.value_or(kNoBestSeconds), 1};
}

std::optional<StandingsPage> ReadStandingsPage(StandingsReader& reader,
                                               const StandingsQuery& query) {
    const std::size_t limit = std::max<std::size_t>(query.limit, 1);
    std::vector<StandingRow> rows;
    StandingsPage page;
    switch (query.from) {
        case StandingsQuery::From::Top:
        case StandingsQuery::From::After: {
            const StandingRow key = KeptKey(query.key);
            const bool top = query.from == StandingsQuery::From::Top;
            rows = reader.After(top ? kTop : key, limit + 1);
            page.later = rows.size() > limit;
            rows.resize(std::min(rows.size(), limit));
            page.earlier = !top && !reader.Before(rows.empty() ? key : rows.front(), 1).empty();
            break;
        }
        case StandingsQuery::From::Before: {
            const StandingRow key = KeptKey(query.key);
            rows = reader.Before(key, limit + 1);
            page.earlier = rows.size() > limit;
            rows.resize(std::min(rows.size(), limit));
            std::reverse(rows.begin(), rows.end());
            page.later = !reader.After(rows.empty() ? key : rows.back(), 1).empty();
            break;
        }
        case StandingsQuery::From::Around: {
            const std::optional<StandingRow> player = reader.Find(query.player);
            if (!player) {
                return std::nullopt;
            }
            // The player in the middle, or as near to it as the ends of the list allow.
            std::vector<StandingRow> before = reader.Before(*player, limit);
            std::vector<StandingRow> after = reader.After(*player, limit);
            const std::size_t others = limit - 1;
            std::size_t takenBefore = std::min(before.size(), others / 2);
            const std::size_t takenAfter = std::min(after.size(), others - takenBefore);
            takenBefore = std::min(before.size(), others - takenAfter);
            page.earlier = before.size() > takenBefore;
            page.later = after.size() > takenAfter;
            rows.assign(std::make_reverse_iterator(before.begin() + takenBefore), before.rend());
            rows.push_back(*player);
            rows.insert(rows.end(), after.begin(), after.begin() + takenAfter);
            break;
        }
    }
    page.rows = Placed(reader, rows);
    page.players = reader.Players();
    return page;
}

}  // namespace ladder
