// Both stores through the one interface, each on a real database: an SQLite file and a
// database on a PostgreSQL server the test program starts. Then what only one of them has:
// SQLite's file and schema version; PostgreSQL's version table, its restarts, and several
// pools (as several server processes) on one database.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <sstream>
#include <thread>

#include "ladder_server/store/ladder_copy.h"
#include "ladder_server/store/postgres/postgres_schema.h"
#include "ladder_server/store/postgres/postgres_store.h"
#include "ladder_server/store/sqlite/sqlite_schema.h"
#include "ladder_server/store/sqlite/sqlite_store.h"
#include "ladder_server/store/stored_values.h"
#include "tests/ladder_server/every_standing.h"
#include "tests/ladder_server/store_backends.h"
#include "tests/support/postgres_server.h"
#include "tests/support/scratch_dir.h"

namespace {

using namespace store_testing;

using testing_support::EveryStanding;

class StoreTest : public ::testing::TestWithParam<Kind> {
protected:
    std::unique_ptr<Backend> MakeBackend(Kind kind) const {
        return store_testing::MakeBackend(kind, scratch_);
    }

    testing_support::ScratchDir scratch_;
    std::unique_ptr<Backend> backend_ = MakeBackend(GetParam());
    std::unique_ptr<Store> store_ = backend_->Open();
};

TEST_P(StoreTest, AccountsAreKeptByNameAndStampedByTheStore) {
    const std::int64_t before = WallClockMs();
    UserRecord bob = User("bob", false);
    bob.id = 77;
    bob.createdAtMs = 5;  // neither is the caller's to give
    EXPECT_TRUE(store_->AddUser(bob));
    EXPECT_TRUE(store_->AddUser(User("alice")));
    EXPECT_FALSE(store_->AddUser(User("alice", false)));
    EXPECT_TRUE(store_->SetUserEnabled("bob", true));
    EXPECT_FALSE(store_->SetUserEnabled("carol", true));
    EXPECT_TRUE(store_->SetUserPassword("alice", "$argon2id$new"));
    EXPECT_FALSE(store_->SetUserPassword("carol", "$argon2id$new"));
    // A name cut short at a NUL must not find another user.
    EXPECT_FALSE(store_->FindUser(std::string("alice\0x", 7)));
    EXPECT_FALSE(store_->SetUserEnabled(std::string("bob\0", 4), false));

    store_ = backend_->Open();
    const auto alice = store_->FindUser("alice");
    ASSERT_TRUE(alice);
    EXPECT_EQ(alice->passwordHash, "$argon2id$new");
    EXPECT_EQ(alice->email, "alice@example.org");
    EXPECT_TRUE(alice->enabled);
    EXPECT_FALSE(store_->FindUser("Alice"));
    EXPECT_FALSE(store_->FindUser(""));
    const auto users = store_->Users();
    ASSERT_EQ(users.size(), 2u);
    EXPECT_EQ(users[0].name, "alice");
    EXPECT_EQ(users[1].name, "bob");
    EXPECT_TRUE(users[1].enabled);
    EXPECT_NE(users[1].id, 77);
    // The store's clock: this machine's, or the database server's on this machine.
    EXPECT_GE(users[1].createdAtMs, before - 60'000);
    EXPECT_LE(users[1].createdAtMs, WallClockMs() + 60'000);
}

TEST_P(StoreTest, AGameIsFoundOnlyForItsOwnerAndClosesOnceWithTheStoresTime) {
    store_->AddUser(User("alice"));
    store_->AddUser(User("bob"));
    const auto alice = store_->FindUser("alice");
    GameRecord dealt = Game("g1", alice->id);
    dealt.startedAtMs = 5;
    dealt.state = GameState::Solved;  // a new game is open, started now, whatever it says
    const std::int64_t before = WallClockMs();
    store_->AddGame(dealt);

    const auto open = store_->FindOpenGame("g1", "alice");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->game.puzzle, kPuzzle);
    EXPECT_EQ(open->game.solution, kSolution);
    EXPECT_EQ(open->game.level, ladder::LadderLevel::Hard);
    EXPECT_EQ(open->game.state, GameState::Open);
    EXPECT_GE(open->game.startedAtMs, before - 60'000);
    EXPECT_TRUE(open->ownerEnabled);
    EXPECT_FALSE(store_->FindOpenGame("g1", "bob"));
    EXPECT_FALSE(store_->FindOpenGame("g2", "alice"));
    EXPECT_FALSE(store_->FindOpenGame("g1", std::string("alice\0", 6)));
    store_->SetUserEnabled("alice", false);
    EXPECT_FALSE(store_->FindOpenGame("g1", "alice")->ownerEnabled);
    store_->SetUserEnabled("alice", true);

    // An hour and more ago, by the store's clock.
    backend_->Execute("UPDATE games SET started_at_ms = started_at_ms - 3725500 WHERE id = 'g1'");
    const auto seconds = store_->CloseGame("g1", GameState::Solved);
    ASSERT_TRUE(seconds);
    EXPECT_GE(*seconds, 3725);
    EXPECT_LT(*seconds, 3725 + 60);
    EXPECT_FALSE(store_->CloseGame("g1", GameState::Failed));
    EXPECT_FALSE(store_->CloseGame("g1", GameState::Solved));
    EXPECT_FALSE(store_->FindOpenGame("g1", "alice"));
    EXPECT_THROW(store_->CloseGame("g1", GameState::Open), std::invalid_argument);
    EXPECT_THROW(store_->AddGame(Game("g1", alice->id)), std::runtime_error);

    // A start after now (the clock set back since) gives no negative time, and only a solved
    // game keeps one.
    store_->AddGame(Game("g2", alice->id));
    backend_->Execute("UPDATE games SET started_at_ms = started_at_ms + 60000 WHERE id = 'g2'");
    EXPECT_EQ(store_->CloseGame("g2", GameState::Forfeited), 0);

    const auto games = Contents(*store_).Games();
    ASSERT_EQ(games.size(), 2u);
    EXPECT_EQ(games[0].state, GameState::Solved);
    EXPECT_EQ(games[0].seconds, *seconds);
    ASSERT_TRUE(games[0].finishedAtMs);
    EXPECT_EQ((*games[0].finishedAtMs - games[0].startedAtMs) / 1000, *seconds);
    EXPECT_EQ(games[1].state, GameState::Forfeited);
    EXPECT_EQ(games[1].seconds, std::nullopt);
    EXPECT_TRUE(games[1].finishedAtMs);
}

TEST_P(StoreTest, StandingsRankPlayersBySolvedThenBestTime) {
    for (const char* name : {"ann", "ben", "cat", "dan", "eve"}) {
        store_->AddUser(User(name));
    }
    int next = 0;
    const auto play = [&](const char* name, GameState state, std::int64_t seconds = 0) {
        const std::string id = "g" + std::to_string(++next);
        store_->AddGame(Game(id, store_->FindUser(name)->id));
        backend_->Execute("UPDATE games SET started_at_ms = started_at_ms - " +
                          std::to_string(seconds * 1000 + 500) + " WHERE id = '" + id + "'");
        if (state != GameState::Open) {
            store_->CloseGame(id, state);
        }
    };
    play("ann", GameState::Solved, 300);
    play("ben", GameState::Solved, 200);
    play("ben", GameState::Solved, 100);
    play("cat", GameState::Solved, 150);
    play("cat", GameState::Failed, 10);
    play("dan", GameState::Forfeited, 10);
    play("dan", GameState::Open);
    // eve never played.

    const auto standings = EveryStanding(*store_);
    ASSERT_EQ(standings.size(), 4u);
    EXPECT_EQ(standings[0].user, "ben");
    EXPECT_EQ(standings[0].solved, 2);
    EXPECT_EQ(standings[0].bestSeconds.value_or(0) / 10, 10);  // 100 and the test's moments
    EXPECT_EQ(standings[1].user, "cat");
    EXPECT_EQ(standings[1].bestSeconds.value_or(0) / 10, 15);
    EXPECT_EQ(standings[2].user, "ann");
    EXPECT_EQ(standings[3].user, "dan");
    EXPECT_EQ(standings[3].solved, 0);
    EXPECT_EQ(standings[3].bestSeconds, std::nullopt);
}

TEST_P(StoreTest, VersionIsEmptyUntilSetAndThenTheLatest) {
    EXPECT_EQ(store_->Version().version, "");
    EXPECT_EQ(store_->Version().download, "");
    store_->SetVersion({"1.1.0", "https://example.org/1.1.0"});
    store_->SetVersion({"1.2.0", "https://example.org/1.2.0"});
    EXPECT_EQ(store_->Version().version, "1.2.0");
    EXPECT_EQ(store_->Version().download, "https://example.org/1.2.0");
}

TEST_P(StoreTest, ManyThreadsShareThePool) {
    store_->AddUser(User("alice"));
    const auto alice = store_->FindUser("alice")->id;
    std::vector<std::thread> threads;
    std::atomic<int> closed = 0;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i) {
                const std::string id = std::to_string(t) + "-" + std::to_string(i);
                store_->AddGame(Game(id, alice));
                // Every thread also tries to close the game of the thread before it.
                const std::string other = std::to_string((t + 7) % 8) + "-" + std::to_string(i);
                closed += store_->CloseGame(other, GameState::Forfeited) ? 1 : 0;
                closed += store_->CloseGame(id, GameState::Solved) ? 1 : 0;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(closed, 160);  // every game closed exactly once
}

TEST_P(StoreTest, ALadderIsCopiedWholeIntoAnEmptyStoreOfTheOtherKindOnly) {
    store_->AddUser(User("alice"));
    store_->AddUser(User("bob", false));
    const auto alice = store_->FindUser("alice")->id;
    const auto bob = store_->FindUser("bob")->id;
    const std::pair<const char*, GameState> games[] = {{"a1", GameState::Solved},
                                                       {"a2", GameState::Failed},
                                                       {"a3", GameState::Open},
                                                       {"b1", GameState::Forfeited}};
    for (const auto& [id, state] : games) {
        store_->AddGame(Game(id, id[0] == 'a' ? alice : bob));
        backend_->Execute("UPDATE games SET started_at_ms = started_at_ms - 42000");
        if (state != GameState::Open) {
            store_->CloseGame(id, state);
        }
    }
    store_->SetVersion({"1.2.0", "https://example.org/1.2.0"});
    const std::string source = Contents(*store_).Text();

    const auto other = MakeBackend(GetParam() == Kind::Sqlite ? Kind::Postgres : Kind::Sqlite);
    auto target = other->Open();
    const auto counts = ladder::CopyLadder(*store_, *target);
    EXPECT_EQ(counts.users, 2);
    EXPECT_EQ(counts.games, 4);
    EXPECT_TRUE(counts.version);
    EXPECT_EQ(Contents(*target).Text(), source);
    EXPECT_EQ(EveryStanding(*target).at(0).bestSeconds, EveryStanding(*store_).at(0).bestSeconds);

    // Into a ladder that holds something, nothing at all.
    EXPECT_THROW(ladder::CopyLadder(*store_, *target), ladder::LadderNotEmpty);
    EXPECT_EQ(Contents(*target).Text(), source);

    // The copy goes on where the original stood: new ids, the open game's time.
    EXPECT_TRUE(target->AddUser(User("carol")));
    EXPECT_GT(target->FindUser("carol")->id, bob);
    EXPECT_GE(target->CloseGame("a3", GameState::Solved).value_or(0), 42 * 2);

    // An import dropped before its commit leaves nothing behind.
    const auto fresh = MakeBackend(GetParam());
    const auto empty = fresh->Open();
    {
        const auto import = empty->BeginImport();
        import->User(*store_->FindUser("alice"));
    }
    EXPECT_TRUE(empty->Users().empty());
}

INSTANTIATE_TEST_SUITE_P(BothStores, StoreTest, ::testing::Values(Kind::Sqlite, Kind::Postgres),
                         [](const ::testing::TestParamInfo<Kind>& info) {
                             return info.param == Kind::Sqlite ? "Sqlite" : "Postgres";
                         });

std::string JournalMode(const std::string& path) {
    ladder::sqlite::Connection connection(path);
    ladder::sqlite::Statement mode(connection, "PRAGMA journal_mode");
    mode.Step();
    return mode.Text(0);
}

TEST(SqliteStoreTest, MakesTheFileInWalModeAtTheLatestSchema) {
    testing_support::ScratchDir scratch;
    const std::string path = scratch.Path("ladder.db");
    ladder::SystemClock clock;
    { SqliteStore store(path, clock); }
    EXPECT_EQ(JournalMode(path), "wal");
    ladder::sqlite::Connection connection(path);
    EXPECT_EQ(ladder::SchemaVersion(connection), ladder::LatestSchemaVersion());
    // Migrating again changes nothing.
    ladder::Migrate(connection);
    EXPECT_EQ(ladder::SchemaVersion(connection), ladder::LatestSchemaVersion());
}

TEST(SqliteStoreTest, RefusesADatabaseFromANewerServerAndLeavesItAlone) {
    testing_support::ScratchDir scratch;
    const std::string path = scratch.Path("ladder.db");
    {
        ladder::sqlite::Connection connection(path);
        connection.Execute("CREATE TABLE future (x); PRAGMA user_version = 999");
    }
    ladder::SystemClock clock;
    EXPECT_THROW(SqliteStore store(path, clock), ladder::sqlite::Error);
    ladder::sqlite::Connection connection(path);
    EXPECT_EQ(ladder::SchemaVersion(connection), 999);
    EXPECT_THROW(ladder::sqlite::Statement(connection, "SELECT * FROM users"),
                 ladder::sqlite::Error);
}

TEST(PostgresStoreTest, ServersStartingAtOnceMigrateOnceAndANewerDatabaseIsLeftAlone) {
    auto& server = SharedPostgresServer();
    const std::string url = server.CreateDatabase("migrations");
    EXPECT_EQ(ladder::postgres::LatestSchemaVersion(), ladder::LatestSchemaVersion());
    std::vector<std::thread> starting;
    std::atomic<int> started = 0;
    for (int i = 0; i < 4; ++i) {
        starting.emplace_back([&] {
            ladder::PostgresStore store(url, 1);
            ++started;
        });
    }
    for (auto& thread : starting) {
        thread.join();
    }
    EXPECT_EQ(started, 4);
    EXPECT_EQ(server.Query("migrations", "SELECT COUNT(*) FROM schema_version"),
              std::to_string(ladder::LatestSchemaVersion()));

    server.Query("migrations", "INSERT INTO schema_version (version) VALUES (999)");
    server.Query("migrations", "CREATE TABLE future (x integer)");
    EXPECT_THROW(ladder::PostgresStore(url, 1), std::runtime_error);
    EXPECT_EQ(server.Query("migrations", "SELECT MAX(version) FROM schema_version"), "999");
    EXPECT_EQ(server.Query("migrations", "SELECT to_regclass('future') IS NOT NULL"), "t");
}

TEST(PostgresStoreTest, ACallWhileTheDatabaseIsDownThrowsAndTheStoreReconnectsByItself) {
    auto& server = SharedPostgresServer();
    ladder::PostgresStore store(server.CreateDatabase("restarts"), 4);
    store.AddUser(User("alice"));
    store.AddGame(Game("g1", store.FindUser("alice")->id));

    server.Stop();
    EXPECT_THROW(store.FindOpenGame("g1", "alice"), std::runtime_error);
    EXPECT_THROW(store.CloseGame("g1", GameState::Solved), std::runtime_error);
    server.Start();
    EXPECT_TRUE(store.FindOpenGame("g1", "alice"));
    EXPECT_TRUE(store.CloseGame("g1", GameState::Solved));

    // A restart between two calls costs no failed call: the connection it cut is noticed
    // before it is lent.
    server.Restart();
    ASSERT_EQ(EveryStanding(store).size(), 1u);
    EXPECT_EQ(EveryStanding(store)[0].solved, 1);
}

TEST(PostgresStoreTest, TwoPoolsOnOneDatabaseShareEveryGameAndCloseEachOnce) {
    const std::string url = SharedPostgresServer().CreateDatabase("two_pools");
    ladder::PostgresStore first(url, 2);
    ladder::PostgresStore second(url, 2);
    first.AddUser(User("alice"));
    const auto alice = second.FindUser("alice")->id;

    first.AddGame(Game("shared", alice));
    ASSERT_TRUE(second.FindOpenGame("shared", "alice"));
    EXPECT_TRUE(second.CloseGame("shared", GameState::Solved));
    EXPECT_FALSE(first.FindOpenGame("shared", "alice"));
    EXPECT_FALSE(first.CloseGame("shared", GameState::Solved));

    // Both close every game at once: each game goes to exactly one of them.
    constexpr int kGames = 40;
    for (int i = 0; i < kGames; ++i) {
        first.AddGame(Game("race-" + std::to_string(i), alice));
    }
    std::atomic<int> firstWon = 0;
    std::atomic<int> secondWon = 0;
    const auto closeAll = [&](Store& store, GameState state, std::atomic<int>& won) {
        for (int i = 0; i < kGames; ++i) {
            won += store.CloseGame("race-" + std::to_string(i), state) ? 1 : 0;
        }
    };
    std::thread racer([&] { closeAll(second, GameState::Forfeited, secondWon); });
    closeAll(first, GameState::Solved, firstWon);
    racer.join();
    EXPECT_EQ(firstWon + secondWon, kGames);
    EXPECT_EQ(EveryStanding(first).at(0).solved, 1 + firstWon);
}

}  // namespace
