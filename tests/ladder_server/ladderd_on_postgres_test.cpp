// The real quillmark-ladderd on PostgreSQL: an SQLite ladder copied over, two server
// processes sharing the database, and the operator's commands on it.

#include <gtest/gtest.h>

#include "tests/ladder_server/ladder_test_client.h"
#include "tests/support/ladder_server_process.h"
#include "tests/support/postgres_server.h"

namespace {

using ladder_testing::LadderTestClient;
using ladder_testing::SolutionOf;
using testing_support::LadderServerProcess;
using testing_support::SharedPostgresServer;
namespace codes = ladder::codes;
namespace paths = ladder::paths;

LadderTestClient ClientOf(const LadderServerProcess& server) {
    return LadderTestClient("127.0.0.1", server.Port());
}

TEST(LadderdOnPostgresTest, AnSqliteLadderMovesOverAndTwoServersShareIt) {
    LadderServerProcess sqlite;
    sqlite.AddUser("alice", "alices secret");
    sqlite.AddUser("bob", "bobs secret", /*enabled=*/false, "bob@example.org");
    sqlite.SetVersion("1.2.0", "https://example.org/1.2.0");
    auto client = ClientOf(sqlite);
    const auto solved = client.Start("alice", "alices secret");
    ASSERT_EQ(
        client.Finish("alice", solved.body["game_id"], SolutionOf(solved.body["puzzle"])).status,
        200);
    const auto open = client.Start("alice", "alices secret");
    ASSERT_EQ(open.status, 200);
    const auto standings = client.Get(paths::kStandings);
    ASSERT_EQ(standings.status, 200);

    // A missing source is no empty ladder, and a refused copy leaves the target alone.
    const std::string url = SharedPostgresServer().CreateDatabase("ladderd");
    const auto missing = LadderServerProcess(false).RunCommand({"copy", "--to", url});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("no ladder database"), std::string::npos) << missing.err;

    const auto copied = sqlite.RunCommand({"copy", "--to", url});
    ASSERT_EQ(copied.exitCode, 0) << copied.err;
    EXPECT_EQ(copied.out, "copied 2 users, 2 games and the version setting into " + url + "\n");
    const auto again = sqlite.RunCommand({"copy", "--to", url});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("holds users or games already"), std::string::npos) << again.err;

    LadderServerProcess first(true, url);
    LadderServerProcess second(true, url);
    auto one = ClientOf(first);
    auto other = ClientOf(second);
    EXPECT_EQ(one.Get(paths::kStandings).body, standings.body);
    EXPECT_EQ(other.Get(paths::kVersion).body,
              (nlohmann::json{{"version", "1.2.0"}, {"download", "https://example.org/1.2.0"}}));

    // The game left open on SQLite goes on, finished through either server, but once.
    const std::string puzzle = open.body["puzzle"];
    const auto finished = other.Finish("alice", open.body["game_id"], SolutionOf(puzzle));
    EXPECT_EQ(finished.status, 200);
    EXPECT_EQ(one.Finish("alice", open.body["game_id"], SolutionOf(puzzle)).Error(),
              codes::kNotLadder);
    const auto started = one.Start("alice", "alices secret");  // the hash came over as it was
    ASSERT_EQ(started.status, 200);
    EXPECT_EQ(other.Forfeit("alice", started.body["game_id"]).status, 200);
    EXPECT_EQ(one.Get(paths::kStandings).body["standings"][0]["solved"], 2);

    // The operator's commands work on the shared database, seen by both servers at once.
    const auto another = one.Start("alice", "alices secret");
    first.DisableUser("alice");
    EXPECT_EQ(
        other.Finish("alice", another.body["game_id"], SolutionOf(another.body["puzzle"])).Error(),
        codes::kNotEnabled);
    first.EnableUser("alice");  // the refusal left the game open
    EXPECT_EQ(
        one.Finish("alice", another.body["game_id"], SolutionOf(another.body["puzzle"])).status,
        200);
    first.EnableUser("bob");
    second.SetPassword("bob", "new secret");
    second.AddUser("carol", "carols secret", /*enabled=*/false);
    EXPECT_EQ(first.RunCommand({"user", "list"}).out,
              "alice\tenabled\t\nbob\tenabled\tbob@example.org\ncarol\tdisabled\t\n");
    EXPECT_EQ(other.Start("bob", "new secret").status, 200);
    first.SetVersion("1.3.0", "https://example.org/1.3.0");
    EXPECT_EQ(other.Get(paths::kVersion).body["version"], "1.3.0");
}

}  // namespace
