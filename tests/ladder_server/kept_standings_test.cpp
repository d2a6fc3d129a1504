// The standings each store keeps as games start and close, against the ranking added up
// over the games themselves: on a ladder made by the previous schema and migrated, after
// more play, read in pages of every size both ways and around each player, and after a copy
// into the other kind of store.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "ladder_server/store/ladder_copy.h"
#include "tests/ladder_server/every_standing.h"
#include "tests/ladder_server/store_backends.h"

namespace {

using ladder::Standing;
using ladder::StandingKey;
using ladder::StandingsQuery;
using namespace store_testing;

// The ranking as it was always made: every user with a game, most solved first, then the
// best time (none after every time), then the name; equal solved and best share a place.
std::vector<Standing> RankedFromGames(Store& store) {
    std::map<std::int64_t, std::string> names;
    for (const UserRecord& user : store.Users()) {
        names[user.id] = user.name;
    }
    std::map<std::int64_t, Standing> byUser;
    const RecordingSink ladder = Contents(store);
    for (const GameRecord& game : ladder.Games()) {
        Standing& standing = byUser[game.userId];
        standing.user = names.at(game.userId);
        if (game.state == GameState::Solved) {
            ++standing.solved;
            standing.bestSeconds =
                std::min(*game.seconds, standing.bestSeconds.value_or(*game.seconds));
        }
    }
    std::vector<Standing> ranked;
    for (auto& [id, standing] : byUser) {
        ranked.push_back(standing);
    }
    const auto order = [](const Standing& s) {
        return std::tuple(-s.solved, !s.bestSeconds, s.bestSeconds.value_or(0), s.user);
    };
    std::sort(ranked.begin(), ranked.end(),
              [&](const Standing& a, const Standing& b) { return order(a) < order(b); });
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        const bool tied = i > 0 && ranked[i].solved == ranked[i - 1].solved &&
                          ranked[i].bestSeconds == ranked[i - 1].bestSeconds;
        ranked[i].place = tied ? ranked[i - 1].place : static_cast<std::int64_t>(i) + 1;
    }
    return ranked;
}

std::optional<ladder::StandingsPage> Read(Store& store, StandingsQuery::From from,
                                          std::size_t limit, StandingKey key = {},
                                          std::string player = {}) {
    return store.Standings(StandingsQuery{from, std::move(key), std::move(player), limit});
}

// The whole standings read backwards, from past the last player to the top.
std::vector<Standing> EveryStandingBackwards(Store& store, std::size_t pageSize) {
    std::vector<Standing> all;
    StandingKey key{-1, std::nullopt, ""};  // ranked after everyone
    for (;;) {
        const auto page = Read(store, StandingsQuery::From::Before, pageSize, key);
        all.insert(all.begin(), page->rows.begin(), page->rows.end());
        if (!page->earlier) {
            return all;
        }
        const Standing& first = page->rows.front();
        key = StandingKey{first.solved, first.bestSeconds, first.user};
    }
}

void ExpectEveryPageAgrees(Store& store, const std::vector<Standing>& expected) {
    for (const std::size_t pageSize : {1, 2, 7, 500}) {
        SCOPED_TRACE("pages of " + std::to_string(pageSize));
        EXPECT_EQ(testing_support::EveryStanding(store, pageSize), expected);
        EXPECT_EQ(EveryStandingBackwards(store, pageSize), expected);
    }
    const auto top = Read(store, StandingsQuery::From::Top, 4);
    EXPECT_EQ(top->players, static_cast<std::int64_t>(expected.size()));
    EXPECT_FALSE(top->earlier);

    // Around each player: a run of the list with the player as near the middle as it allows.
    const std::size_t n = expected.size();
    const std::size_t limit = 5;
    for (std::size_t i = 0; i < n; ++i) {
        SCOPED_TRACE("around " + expected[i].user);
        const auto page = Read(store, StandingsQuery::From::Around, limit, {}, expected[i].user);
        ASSERT_TRUE(page);
        const std::size_t start = std::min(i - std::min<std::size_t>(i, 2), n - limit);
        EXPECT_EQ(page->rows,
                  std::vector(expected.begin() + static_cast<std::ptrdiff_t>(start),
                              expected.begin() + static_cast<std::ptrdiff_t>(start + limit)));
        EXPECT_EQ(page->earlier, start > 0);
        EXPECT_EQ(page->later, start + limit < n);
    }
    EXPECT_FALSE(Read(store, StandingsQuery::From::Around, limit, {}, "nobody"));
}

class KeptStandingsTest : public ::testing::TestWithParam<Kind> {
protected:
    testing_support::ScratchDir scratch_;
};

TEST_P(KeptStandingsTest, MatchTheGamesAfterMigrationPlayPagingAndCopy) {
    // A ladder of the previous schema: solves with ties and distinct times, failures,
    // forfeits, open games, a disabled account, users who never played.
    const auto backend = MakeBackend(GetParam(), scratch_);
    backend->MigrateTo(1);
    const char* states[] = {"solved", "failed", "solved", "forfeited", "open", "solved"};
    std::string sql;
    for (int user = 1; user <= 14; ++user) {
        sql +=
            "INSERT INTO users (id, name, password_hash, email, enabled, "
            "created_at_ms) VALUES (" +
            std::to_string(user) + ", 'p" + std::to_string(user % 7) +
            std::string(user > 7 ? "x" : "") + "', 'h', '', " + (user == 3 ? "FALSE" : "TRUE") +
            ", 1);";
        for (int game = 0; game < (user * 5) % 9 && user != 13; ++game) {
            const std::string state = states[(user + game) % 6];
            const bool solved = state == "solved";
            const bool open = state == "open";
            const std::int64_t seconds = 60 + ((user * 7 + game * 13) % 4) * 30;
            sql +=
                "INSERT INTO games (id, user_id, puzzle, solution, level, started_at_ms, state, "
                "finished_at_ms, seconds) VALUES ('v1-" +
                std::to_string(user) + "-" + std::to_string(game) + "', " + std::to_string(user) +
                ", '" + kPuzzle + "', '" + kSolution + "', 'medium', 1000, '" + state + "', " +
                (open ? "NULL" : std::to_string(1000 + seconds * 1000)) + ", " +
                (solved ? std::to_string(seconds) : "NULL") + ");";
        }
    }
    if (GetParam() == Kind::Postgres) {
        sql += "SELECT setval(pg_get_serial_sequence('users', 'id'), 100);";
    }
    backend->Execute(sql);
    auto store = backend->Open();
    std::vector<Standing> expected = RankedFromGames(*store);
    ASSERT_GE(expected.size(), 10u);
    EXPECT_EQ(testing_support::EveryStanding(*store), expected);

    // More play: a newcomer, solves that tie and beat best times, closes of every kind,
    // and the open games of the old ladder closed.
    store->AddUser(User("newcomer"));
    const std::pair<std::string, std::int64_t> plays[] = {
        {"newcomer", 90}, {"p2", 45}, {"p5x", 61}, {"p3", 10}, {"newcomer", 90}, {"p1", 400}};
    int next = 0;
    for (const auto& [name, seconds] : plays) {
        const std::string id = "new-" + std::to_string(++next);
        store->AddGame(Game(id, store->FindUser(name)->id));
        backend->Execute("UPDATE games SET started_at_ms = started_at_ms - " +
                         std::to_string(seconds * 1000) + " WHERE id = '" + id + "'");
        store->CloseGame(id, next % 3 == 0 ? GameState::Failed : GameState::Solved);
    }
    store->AddGame(Game("new-open", store->FindUser("newcomer")->id));
    for (int user = 1; user <= 14; ++user) {
        for (int game = 0; game < 9; ++game) {
            store->CloseGame("v1-" + std::to_string(user) + "-" + std::to_string(game),
                             game % 2 == 0 ? GameState::Solved : GameState::Forfeited);
        }
    }
    expected = RankedFromGames(*store);
    ExpectEveryPageAgrees(*store, expected);

    // A copy into the other kind keeps them, and goes on keeping them.
    const auto other =
        MakeBackend(GetParam() == Kind::Sqlite ? Kind::Postgres : Kind::Sqlite, scratch_);
    auto copy = other->Open();
    ladder::CopyLadder(*store, *copy);
    EXPECT_EQ(testing_support::EveryStanding(*copy), expected);
    copy->CloseGame("new-open", GameState::Solved);
    EXPECT_EQ(testing_support::EveryStanding(*copy), RankedFromGames(*copy));
}

INSTANTIATE_TEST_SUITE_P(BothStores, KeptStandingsTest,
                         ::testing::Values(Kind::Sqlite, Kind::Postgres), [](const auto& info) {
                             return info.param == Kind::Sqlite ? "Sqlite" : "Postgres";
                         });

}  // namespace
