// The SQLite store: schema, accounts, games, standings and the version, on real files.

#include "ladder_server/sqlite_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ladder_server/schema.h"
#include "tests/support/scratch_dir.h"

namespace {

using ladder::GameRecord;
using ladder::GameState;
using ladder::SqliteStore;
using ladder::UserRecord;

const std::string kPuzzle =
    "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
const std::string kSolution =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

UserRecord User(const std::string& name, bool enabled = true) {
    UserRecord user;
    user.name = name;
    user.passwordHash = "$argon2id$not-a-real-hash-" + name;
    user.email = name + "@example.org";
    user.enabled = enabled;
    return user;
}

GameRecord Game(const std::string& id, std::int64_t userId, std::int64_t startedAtMs = 1000) {
    GameRecord game;
    game.id = id;
    game.userId = userId;
    game.puzzle = kPuzzle;
    game.solution = kSolution;
    game.level = ladder::LadderLevel::Hard;
    game.startedAtMs = startedAtMs;
    return game;
}

std::string JournalMode(const std::string& path) {
    ladder::sqlite::Connection connection(path);
    ladder::sqlite::Statement mode(connection, "PRAGMA journal_mode");
    mode.Step();
    return mode.Text(0);
}

TEST(SqliteStoreTest, MakesTheFileInWalModeAtTheLatestSchema) {
    testing_support::ScratchDir scratch;
    const std::string path = scratch.Path("ladder.db");
    { SqliteStore store(path); }
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
    EXPECT_THROW(SqliteStore store(path), ladder::sqlite::Error);
    ladder::sqlite::Connection connection(path);
    EXPECT_EQ(ladder::SchemaVersion(connection), 999);
    EXPECT_THROW(ladder::sqlite::Statement(connection, "SELECT * FROM users"),
                 ladder::sqlite::Error);
}

TEST(SqliteStoreTest, AccountsAreKeptByName) {
    testing_support::ScratchDir scratch;
    const std::string path = scratch.Path("ladder.db");
    {
        SqliteStore store(path);
        EXPECT_TRUE(store.AddUser(User("bob", false), 5));
        EXPECT_TRUE(store.AddUser(User("alice"), 5));
        EXPECT_FALSE(store.AddUser(User("alice", false), 6));
        EXPECT_TRUE(store.SetUserEnabled("bob", true));
        EXPECT_FALSE(store.SetUserEnabled("carol", true));
        EXPECT_TRUE(store.SetUserPassword("alice", "$argon2id$new"));
        EXPECT_FALSE(store.SetUserPassword("carol", "$argon2id$new"));
    }
    SqliteStore reopened(path);
    const auto alice = reopened.FindUser("alice");
    ASSERT_TRUE(alice);
    EXPECT_EQ(alice->passwordHash, "$argon2id$new");
    EXPECT_EQ(alice->email, "alice@example.org");
    EXPECT_TRUE(alice->enabled);
    EXPECT_FALSE(reopened.FindUser("Alice"));
    EXPECT_FALSE(reopened.FindUser(""));
    const auto users = reopened.Users();
    ASSERT_EQ(users.size(), 2u);
    EXPECT_EQ(users[0].name, "alice");
    EXPECT_EQ(users[1].name, "bob");
    EXPECT_TRUE(users[1].enabled);
}

TEST(SqliteStoreTest, AnOpenGameIsFoundOnlyForItsOwnerAndClosesOnce) {
    SqliteStore store(":memory:");
    store.AddUser(User("alice"), 0);
    store.AddUser(User("bob"), 0);
    const auto alice = store.FindUser("alice");
    store.AddGame(Game("g1", alice->id, 1234));

    const auto game = store.FindOpenGame("g1", "alice");
    ASSERT_TRUE(game);
    EXPECT_EQ(game->puzzle, kPuzzle);
    EXPECT_EQ(game->solution, kSolution);
    EXPECT_EQ(game->level, ladder::LadderLevel::Hard);
    EXPECT_EQ(game->startedAtMs, 1234);
    EXPECT_FALSE(store.FindOpenGame("g1", "bob"));
    EXPECT_FALSE(store.FindOpenGame("g2", "alice"));

    EXPECT_TRUE(store.CloseGame("g1", GameState::Solved, 5000, 3));
    EXPECT_FALSE(store.CloseGame("g1", GameState::Failed, 6000, std::nullopt));
    EXPECT_FALSE(store.FindOpenGame("g1", "alice"));
    EXPECT_THROW(store.CloseGame("g1", GameState::Open, 0, std::nullopt), std::invalid_argument);
    EXPECT_THROW(store.AddGame(Game("g1", alice->id)), ladder::sqlite::Error);
}

TEST(SqliteStoreTest, StandingsRankPlayersBySolvedThenBestTime) {
    SqliteStore store(":memory:");
    for (const char* name : {"ann", "ben", "cat", "dan", "eve"}) {
        store.AddUser(User(name), 0);
    }
    const auto id = [&store](const char* name) { return store.FindUser(name)->id; };
    int next = 0;
    const auto play = [&](const char* name, GameState state, std::optional<std::int64_t> seconds) {
        const std::string gameId = "g" + std::to_string(++next);
        store.AddGame(Game(gameId, id(name)));
        if (state != GameState::Open) {
            store.CloseGame(gameId, state, 2000, seconds);
        }
    };
    play("ann", GameState::Solved, 300);
    play("ben", GameState::Solved, 200);
    play("ben", GameState::Solved, 100);
    play("cat", GameState::Solved, 150);
    play("cat", GameState::Failed, std::nullopt);
    play("dan", GameState::Forfeited, std::nullopt);
    play("dan", GameState::Open, std::nullopt);
    // eve never played.

    const auto standings = store.Standings();
    ASSERT_EQ(standings.size(), 4u);
    EXPECT_EQ(standings[0].user, "ben");
    EXPECT_EQ(standings[0].solved, 2);
    EXPECT_EQ(standings[0].bestSeconds, 100);
    EXPECT_EQ(standings[1].user, "cat");
    EXPECT_EQ(standings[1].bestSeconds, 150);
    EXPECT_EQ(standings[2].user, "ann");
    EXPECT_EQ(standings[3].user, "dan");
    EXPECT_EQ(standings[3].solved, 0);
    EXPECT_EQ(standings[3].bestSeconds, std::nullopt);
}

TEST(SqliteStoreTest, VersionIsEmptyUntilSetAndThenTheLatest) {
    SqliteStore store(":memory:");
    EXPECT_EQ(store.Version().version, "");
    EXPECT_EQ(store.Version().download, "");
    store.SetVersion({"1.1.0", "https://example.org/1.1.0"});
    store.SetVersion({"1.2.0", "https://example.org/1.2.0"});
    EXPECT_EQ(store.Version().version, "1.2.0");
    EXPECT_EQ(store.Version().download, "https://example.org/1.2.0");
}

TEST(SqliteStoreTest, ManyThreadsShareThePool) {
    testing_support::ScratchDir scratch;
    SqliteStore store(scratch.Path("ladder.db"), 3);
    store.AddUser(User("alice"), 0);
    const auto alice = store.FindUser("alice")->id;
    std::vector<std::thread> threads;
    std::atomic<int> closed = 0;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i) {
                const std::string id = std::to_string(t) + "-" + std::to_string(i);
                store.AddGame(Game(id, alice));
                // Every thread also tries to close the game of the thread before it.
                const std::string other = std::to_string((t + 7) % 8) + "-" + std::to_string(i);
                closed += store.CloseGame(other, GameState::Forfeited, 1, std::nullopt) ? 1 : 0;
                closed += store.CloseGame(id, GameState::Solved, 1, 1) ? 1 : 0;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(closed, 160);  // every game closed exactly once
}

}  // namespace
