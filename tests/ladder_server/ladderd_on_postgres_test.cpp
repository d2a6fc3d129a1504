// The real quillmark-ladderd on PostgreSQL: an SQLite ladder copied over, two server
// processes sharing the database and its login throttle, and the operator's commands on it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <utility>

#include "tests/ladder_server/ladder_test_client.h"
#include "tests/ladder_server/raw_http.h"
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

TEST(LadderdOnPostgresTest, TheHealthCheckFollowsTheDatabaseAndTellsNothingElse) {
    testing_support::PostgresServer& database = SharedPostgresServer();
    static int runs = 0;  // a database of its own at each run of a repeated test
    const std::string name = "health_" + std::to_string(++runs);
    LadderServerProcess server(false, database.CreateDatabase(name));
    const auto logFile = std::filesystem::temp_directory_path() /
                         ("quillmark-ladderd-" + name + "-" + std::to_string(::getpid()) + ".log");
    server.SetServeOptions({"--log-file", logFile.string()});
    server.Start();
    const auto health = [&] {
        httplib::Client client("127.0.0.1", server.Port());
        const auto answer = client.Get(paths::kHealth);
        return answer ? std::pair(answer->status, answer->body) : std::pair(0, std::string());
    };
    EXPECT_EQ(health(), std::pair(200, std::string(R"({"status":"ok"})")));

    // Started again however this test ends, for the tests after it.
    struct StartedAgain {
        testing_support::PostgresServer& database;
        ~StartedAgain() { database.Start(); }
    } startedAgain{database};
    database.Stop();
    // Neither the database's address nor its error: the body is all there is.
    EXPECT_EQ(health(), std::pair(503, std::string(R"({"status":"unavailable"})")));
    httplib::Client scraper("127.0.0.1", server.Port());
    const auto metrics = scraper.Get(paths::kMetrics);
    ASSERT_TRUE(metrics);
    EXPECT_EQ(metrics->status, 200);  // scraped without the database
    EXPECT_NE(metrics->body.find(
                  "quillmark_ladder_requests_total{route=\"/healthz\",status=\"503\"} 1\n"),
              std::string::npos)
        << metrics->body;
    // A request the store fails is answered 500 and logged where the server logs.
    EXPECT_EQ(scraper.Get(paths::kStandings)->status, 500);
    std::ifstream log(logFile);
    const std::string logged((std::istreambuf_iterator<char>(log)), {});
    EXPECT_NE(logged.find("GET /v2/standings: "), std::string::npos) << logged;
    std::filesystem::remove(logFile);

    database.Start();
    EXPECT_EQ(health(), std::pair(200, std::string(R"({"status":"ok"})")));
}

// The wall clock of a child process started now, in seconds since the Unix epoch.
long ChildsClock() {
    FILE* date = ::popen("date +%s", "r");
    long seconds = 0;
    if (date == nullptr || std::fscanf(date, "%ld", &seconds) != 1) {
        seconds = 0;
    }
    if (date != nullptr) {
        ::pclose(date);
    }
    return seconds;
}

TEST(LadderdOnPostgresTest, AServerWhoseClockRunsAheadTimesGamesByTheDatabasesClock) {
    const std::string url = SharedPostgresServer().CreateDatabase("clocks");
    LadderServerProcess onTime(true, url);
    onTime.AddUser("alice", "secret");
    std::optional<LadderServerProcess> ahead;
    {
        // libfaketime moves the clock of the processes started while it is preloaded; the
        // address sanitizer, when there is one, must let it come first.
        const char* set = std::getenv("ASAN_OPTIONS");
        const std::optional<std::string> sanitizer =
            set ? std::optional<std::string>(set) : std::nullopt;
        ::setenv("ASAN_OPTIONS", (sanitizer.value_or("") + ":verify_asan_link_order=0").c_str(), 1);
        ::setenv("LD_PRELOAD", QUILLMARK_FAKETIME_LIBRARY, 1);
        ::setenv("FAKETIME", "+2h", 1);
        const long now = std::chrono::duration_cast<std::chrono::seconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
        EXPECT_GT(ChildsClock() - now, 7000);  // the servers started now run two hours ahead
        ahead.emplace(true, url);
        ::unsetenv("LD_PRELOAD");
        ::unsetenv("FAKETIME");
        if (sanitizer) {
            ::setenv("ASAN_OPTIONS", sanitizer->c_str(), 1);
        } else {
            ::unsetenv("ASAN_OPTIONS");
        }
    }
    auto early = ClientOf(onTime);
    auto late = ClientOf(*ahead);
    for (auto [starter, finisher] : {std::pair(&early, &late), std::pair(&late, &early)}) {
        const auto started = starter->Start("alice", "secret");
        ASSERT_EQ(started.status, 200);
        const auto finished =
            finisher->Finish("alice", started.body["game_id"], SolutionOf(started.body["puzzle"]));
        ASSERT_EQ(finished.status, 200);
        EXPECT_LT(finished.body["seconds"].get<int>(), 600);  // not the two hours between them
    }
}

// For the next start of server: its wall clock stands still (libfaketime), so the waits of
// the login throttle it counts never run out while the test looks; its steady clock, which
// times requests, runs on.
void StopWallClock(LadderServerProcess& server) {
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    server.SetEnvironment(
        {{"LD_PRELOAD", QUILLMARK_FAKETIME_LIBRARY},
         {"FAKETIME", "2030-01-01 12:00:00"},
         {"FAKETIME_DONT_FAKE_MONOTONIC", "1"},
         {"ASAN_OPTIONS", std::string(sanitizer ? sanitizer : "") + ":verify_asan_link_order=0"}});
}

TEST(LadderdOnPostgresTest, ServersSharingTheDatabaseShareTheLoginThrottleThroughRestarts) {
    static int runs = 0;  // a database of its own at each run of a repeated test
    const std::string url =
        SharedPostgresServer().CreateDatabase("throttle_" + std::to_string(++runs));
    LadderServerProcess first(false, url);
    LadderServerProcess second(false, url);
    for (LadderServerProcess* server : {&first, &second}) {
        StopWallClock(*server);
        server->Start();
    }
    first.AddUser("alice", "alices secret");
    first.AddUser("bob", "bobs secret");
    const auto start = [](const LadderServerProcess& server, const char* address, const char* user,
                          const char* password) {
        return ladder_testing::PostFrom(
                   server.Port(), address, paths::kStart,
                   nlohmann::json{{"user", user}, {"password", password}}.dump())
            .status;
    };

    // Wrong passwords for alice through the first server: the second refuses her right one
    // from that address, while alice elsewhere and bob behind the same address get in.
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(start(first, "127.0.0.5", "alice", "wrong"), 403);
    }
    EXPECT_EQ(start(second, "127.0.0.5", "alice", "alices secret"), 403);
    EXPECT_EQ(start(second, "127.0.0.6", "alice", "alices secret"), 200);
    EXPECT_EQ(start(second, "127.0.0.5", "bob", "bobs secret"), 200);

    // Failures through both add up, and no restart forgets them.
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(start(first, "127.0.0.7", "bob", "wrong"), 403);
        EXPECT_EQ(start(second, "127.0.0.7", "bob", "wrong"), 403);
    }
    EXPECT_EQ(start(first, "127.0.0.7", "bob", "bobs secret"), 403);
    first.Stop();
    second.Restart();
    EXPECT_EQ(start(second, "127.0.0.5", "alice", "alices secret"), 403);
    EXPECT_EQ(start(second, "127.0.0.7", "bob", "bobs secret"), 403);
    EXPECT_EQ(start(second, "127.0.0.6", "bob", "bobs secret"), 200);
}

}  // namespace
