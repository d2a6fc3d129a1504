// The real quillmark-ladderd binary, started through LadderServerProcess: its command line,
// its stop on SIGTERM, and what a restart keeps.

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "tests/ladder_server/ladder_test_client.h"
#include "tests/ladder_server/raw_http.h"
#include "tests/support/ladder_server_process.h"

namespace {

using ladder_testing::LadderTestClient;
using ladder_testing::SolutionOf;
using testing_support::LadderServerProcess;

LadderTestClient ClientOf(const LadderServerProcess& server) {
    return LadderTestClient("127.0.0.1", server.Port());
}

constexpr auto kPatience = std::chrono::seconds(30);

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Polls condition until it holds, for at most kPatience.
bool WaitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The socket systemd gives a Type=notify service as $NOTIFY_SOCKET, bound by the test.
class NotifySocket {
public:
    explicit NotifySocket(const std::filesystem::path& path)
        : fd_(socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            throw std::runtime_error("cannot bind " + path.string());
        }
    }
    ~NotifySocket() { close(fd_); }
    NotifySocket(const NotifySocket&) = delete;
    NotifySocket& operator=(const NotifySocket&) = delete;

    // The next datagram; nothing when none came within kPatience.
    std::optional<std::string> Next() {
        pollfd watched{fd_, POLLIN, 0};
        if (poll(&watched, 1, static_cast<int>(kPatience / std::chrono::milliseconds(1))) != 1) {
            return std::nullopt;
        }
        char buffer[4096];
        const ssize_t size = recv(fd_, buffer, sizeof buffer, 0);
        return size >= 0 ? std::optional<std::string>(std::string(buffer, size)) : std::nullopt;
    }

private:
    int fd_;
};

TEST(ServerProcessTest, ListensOnAFreePortAndStopsGracefullyOnSigterm) {
    LadderServerProcess server;
    ASSERT_TRUE(server.IsRunning());
    EXPECT_GT(server.Port(), 0);
    EXPECT_EQ(server.Url(), "http://127.0.0.1:" + std::to_string(server.Port()));
    EXPECT_TRUE(std::filesystem::exists(server.DatabasePath()));

    auto client = ClientOf(server);
    const auto version = client.Get(ladder::paths::kVersion);
    EXPECT_EQ(version.status, 200);
    EXPECT_EQ(version.body, (nlohmann::json{{"version", ""}, {"download", ""}}));

    // Without a log file to reopen, SIGHUP is noted and the server goes on.
    kill(server.Pid(), SIGHUP);
    EXPECT_TRUE(WaitUntil([&] { return server.ServerLog().find("SIGHUP") != std::string::npos; }));
    EXPECT_EQ(client.Get(ladder::paths::kVersion).status, 200);

    server.Stop();
    EXPECT_FALSE(server.IsRunning());
    EXPECT_EQ(server.LastExitCode(), 0);
    EXPECT_NE(server.ServerLog().find("stopped"), std::string::npos);
}

TEST(ServerProcessTest, TellsSystemdItsStateAndReopensItsLogFileOnSighup) {
    LadderServerProcess server(/*start=*/false);
    const auto socketPath = server.Folder() / "notify";
    NotifySocket systemd(socketPath);
    const auto logFile = server.Folder() / "ladderd.log";
    server.SetServeOptions({"--log-file", logFile.string()});
    server.SetEnvironment({{"NOTIFY_SOCKET", socketPath.string()}, {"WATCHDOG_USEC", "100000"}});
    server.Start();

    // Ready only once it answers: the first word from it, and a request right after is served.
    EXPECT_EQ(systemd.Next().value_or("nothing"),
              "READY=1\nSTATUS=listening on 127.0.0.1:" + std::to_string(server.Port()));
    auto client = ClientOf(server);
    EXPECT_EQ(client.Get(ladder::paths::kVersion).status, 200);
    for (int ping = 0; ping < 3; ++ping) {
        EXPECT_EQ(systemd.Next().value_or("nothing"), "WATCHDOG=1");
    }

    // logrotate moves the file away and signals; the lines from then on go to a new file.
    const auto rotated = server.Folder() / "ladderd.log.1";
    std::filesystem::rename(logFile, rotated);
    kill(server.Pid(), SIGHUP);
    EXPECT_TRUE(WaitUntil([&] { return ReadText(logFile).find("reopened") != std::string::npos; }));
    EXPECT_NE(ReadText(rotated).find("database"), std::string::npos);
    EXPECT_EQ(ReadText(rotated).find("reopened"), std::string::npos);
    EXPECT_EQ(client.Get(ladder::paths::kVersion).status, 200);

    server.Stop();
    EXPECT_EQ(server.LastExitCode(), 0);
    std::optional<std::string> last;
    for (last = systemd.Next(); last == "WATCHDOG=1"; last = systemd.Next()) {
    }
    EXPECT_EQ(last.value_or("nothing"), "STOPPING=1");
    EXPECT_NE(ReadText(logFile).find("stopped"), std::string::npos);
    EXPECT_EQ(server.ServerLog(), "");
}

TEST(ServerProcessTest, AdminCommandsReadPasswordsFromStandardInput) {
    LadderServerProcess server;
    auto added = server.RunCommand(
        {"user", "add", "alice", "--email", "alice@example.org", "--enabled"}, "first secret\n");
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_EQ(added.out, "added user alice, enabled\n");
    server.AddUser("bob", "bobs secret", /*enabled=*/false);

    auto list = server.RunCommand({"user", "list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, "alice\tenabled\talice@example.org\nbob\tdisabled\t\n");
    EXPECT_EQ(list.out.find("secret"), std::string::npos);

    auto client = ClientOf(server);
    EXPECT_EQ(client.Start("alice", "first secret").status, 200);
    EXPECT_EQ(client.Start("bob", "bobs secret").Error(), ladder::codes::kNotEnabled);

    server.DisableUser("alice");
    server.EnableUser("bob");
    EXPECT_EQ(server.RunCommand({"user", "list"}).out,
              "alice\tdisabled\talice@example.org\nbob\tenabled\t\n");
    EXPECT_EQ(client.Start("alice", "first secret").Error(), ladder::codes::kNotEnabled);
    EXPECT_EQ(client.Start("bob", "bobs secret").status, 200);

    // A new password; the line end a terminal or a Windows editor adds is not part of it.
    server.SetPassword("bob", "second secret\r");
    EXPECT_EQ(client.Start("bob", "bobs secret").Error(), ladder::codes::kNotEnabled);
    EXPECT_EQ(client.Start("bob", "second secret").status, 200);
}

TEST(ServerProcessTest, AdminCommandsRefuseClearlyWithNonZeroExit) {
    LadderServerProcess server(/*start=*/false);
    server.AddUser("alice", "secret");

    const auto taken = server.RunCommand({"user", "add", "alice"}, "other\n");
    EXPECT_EQ(taken.exitCode, 1);
    EXPECT_NE(taken.err.find("exists already"), std::string::npos) << taken.err;

    const auto noPassword = server.RunCommand({"user", "add", "carol"}, "");
    EXPECT_EQ(noPassword.exitCode, 1);
    EXPECT_NE(noPassword.err.find("no password"), std::string::npos) << noPassword.err;

    const auto emptyPassword = server.RunCommand({"user", "add", "carol"}, "\n");
    EXPECT_EQ(emptyPassword.exitCode, 1);
    EXPECT_NE(emptyPassword.err.find("empty"), std::string::npos) << emptyPassword.err;

    const auto badName = server.RunCommand({"user", "add", "no spaces"}, "pw\n");
    EXPECT_EQ(badName.exitCode, 1);
    EXPECT_NE(badName.err.find("invalid user name"), std::string::npos) << badName.err;

    const auto unknown = server.RunCommand({"user", "disable", "nobody"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.err.find("no user \"nobody\""), std::string::npos) << unknown.err;

    const auto usage = server.RunCommand({"user", "remove", "alice"});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_NE(usage.err.find("--help"), std::string::npos) << usage.err;

    const auto badUrl = server.RunCommand({"version", "set", "1.2.0", "ftp://example.org/q"});
    EXPECT_EQ(badUrl.exitCode, 1);

    // Nothing of the refused commands stayed behind.
    EXPECT_EQ(server.RunCommand({"user", "list"}).out, "alice\tenabled\t\n");
    EXPECT_THROW(server.AddUser("alice", "again"), std::runtime_error);

    const auto help = server.RunCommand({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("user add NAME"), std::string::npos);
}

TEST(ServerProcessTest, VersionServiceAnswersWhatTheOperatorSet) {
    LadderServerProcess server;
    server.SetVersion("1.2.0", "https://example.org/quillmark-1.2.0.tar.gz");
    const auto version = ClientOf(server).Get(ladder::paths::kVersion);
    EXPECT_EQ(version.status, 200);
    EXPECT_EQ(version.body,
              (nlohmann::json{{"version", "1.2.0"},
                              {"download", "https://example.org/quillmark-1.2.0.tar.gz"}}));
}

TEST(ServerProcessTest, RestartKeepsEveryFinishedGameAndOpenGamesGoOn) {
    LadderServerProcess server;
    server.AddUser("alice", "secret");
    server.AddUser("bob", "secret");
    {
        auto client = ClientOf(server);
        for (const char* user : {"alice", "alice", "bob"}) {
            const auto started = client.Start(user, "secret");
            ASSERT_EQ(started.status, 200);
            const std::string puzzle = started.body["puzzle"];
            EXPECT_EQ(client.Finish(user, started.body["game_id"], SolutionOf(puzzle)).status, 200);
        }
        const auto failed = client.Start("bob", "secret");
        EXPECT_EQ(client.Finish("bob", failed.body["game_id"], failed.body["puzzle"]).Error(),
                  ladder::codes::kNotCompleted);
    }
    auto open = ClientOf(server).Start("alice", "secret");
    ASSERT_EQ(open.status, 200);
    const auto before = ClientOf(server).Get(ladder::paths::kStandings);
    ASSERT_EQ(before.status, 200);
    ASSERT_EQ(before.body["standings"].size(), 2u);

    const int port = server.Port();
    server.Restart();
    EXPECT_EQ(server.LastExitCode(), 0);
    EXPECT_EQ(server.Port(), port);  // loopback ports are rarely taken in between

    auto client = ClientOf(server);
    const auto after = client.Get(ladder::paths::kStandings);
    EXPECT_EQ(after.body, before.body);
    EXPECT_EQ(after.body["standings"][0]["user"], "alice");
    EXPECT_EQ(after.body["standings"][0]["solved"], 2);
    EXPECT_EQ(after.body["standings"][1]["solved"], 1);

    // The game left open before the restart is still the player's to finish.
    const std::string puzzle = open.body["puzzle"];
    const auto finished = client.Finish("alice", open.body["game_id"], SolutionOf(puzzle));
    EXPECT_EQ(finished.status, 200);
    EXPECT_EQ(client.Get(ladder::paths::kStandings).body["standings"][0]["solved"], 3);
}

TEST(ServerProcessTest, OfficialTimeRunsFromTheStoredStart) {
    LadderServerProcess server;
    server.AddUser("alice", "secret");
    auto client = ClientOf(server);

    const auto first = client.Start("alice", "secret");
    ASSERT_EQ(first.status, 200);
    EXPECT_EQ(server.MoveGameStartBack(first.body["game_id"].get<std::string>(), 3725), 1);
    const auto finished =
        client.Finish("alice", first.body["game_id"], SolutionOf(first.body["puzzle"]));
    ASSERT_EQ(finished.status, 200);
    // At least the hour moved back; the few moments the test itself took may add to it.
    EXPECT_GE(finished.body["seconds"].get<std::int64_t>(), 3725);
    EXPECT_LT(finished.body["seconds"].get<std::int64_t>(), 3725 + 600);
    // A finished game is not open any more, so there is nothing to move.
    EXPECT_EQ(server.MoveGameStartBack(first.body["game_id"].get<std::string>(), 10), 0);

    const auto second = client.Start("alice", "secret");
    EXPECT_EQ(server.MoveOpenGamesStartBack("alice", 90), 1);
    EXPECT_EQ(server.MoveOpenGamesStartBack("nobody", 90), 0);
    const auto again =
        client.Finish("alice", second.body["game_id"], SolutionOf(second.body["puzzle"]));
    EXPECT_GE(again.body["seconds"].get<std::int64_t>(), 90);
    EXPECT_LT(again.body["seconds"].get<std::int64_t>(), 3725);
}

// The server's resident memory in KiB, from /proc.
long ResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

TEST(ServerProcessTest, AFloodOfHeadersLeavesTheServersMemoryAsItWas) {
    // Under the address sanitizer freed memory waits in a quarantine of 256 MB before it is
    // used again, which a flood of short connections fills: a small one measures the server.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    const std::string options = sanitizer ? sanitizer : "";
    ::setenv("ASAN_OPTIONS", (options + ":quarantine_size_mb=4").c_str(), 1);
    LadderServerProcess server;
    sanitizer ? ::setenv("ASAN_OPTIONS", options.c_str(), 1) : ::unsetenv("ASAN_OPTIONS");
    server.AddUser("alice", "secret");
    auto client = ClientOf(server);
    ASSERT_EQ(client.Get(ladder::paths::kStandings).status, 200);
    const long before = ResidentKiB(server.Pid());

    // Two clients sending header lines for two seconds, each time until the server answers
    // or 64 MiB went out, then again on a new connection.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    std::vector<std::thread> floods;
    for (int i = 0; i < 2; ++i) {
        floods.emplace_back([&] {
            const std::string line = "X-Flood: " + std::string(4000, 'a') + "\r\n";
            for (int round = 0; round < 2000 && std::chrono::steady_clock::now() < until; ++round) {
                ladder_testing::RawConnection flood(server.Port());
                flood.Send("GET /v2/standings HTTP/1.1\r\n");
                for (int sent = 0; sent < 16 * 1024 && !flood.Answered() && flood.Send(line);
                     ++sent) {
                }
                flood.ReadToEnd();
            }
        });
    }
    for (auto& flood : floods) {
        flood.join();
    }
    const long after = ResidentKiB(server.Pid());
    EXPECT_LT(after - before, 32 * 1024) << before << " KiB before, " << after << " KiB after";
    EXPECT_EQ(client.Get(ladder::paths::kStandings).status, 200);
}

}  // namespace
