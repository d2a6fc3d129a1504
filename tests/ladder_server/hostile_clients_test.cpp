// The ladder server in-process against clients that do not play fair: slow ones, floods of
// headers and of logins, half-closed and pipelined connections, a crowd connecting at once.
// Every loop here is bounded in count and in time.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <thread>
#include <variant>
#include <vector>

#include "ladder_server/routes/ladder_routes.h"
#include "ladder_server/store/sqlite/sqlite_store.h"
#include "tests/ladder_server/ladder_test_client.h"
#include "tests/ladder_server/raw_http.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/time_bounds.h"

namespace {

using ladder_testing::PostFrom;
using ladder_testing::RawAnswer;
using ladder_testing::RawConnection;
using ladder_testing::SolutionOf;
using ladder_testing::SplitAnswers;
using nlohmann::json;
using Clock = std::chrono::steady_clock;
namespace paths = ladder::paths;

std::string StartBody(const std::string& user, const std::string& password) {
    return json{{"user", user}, {"password", password}}.dump();
}

class HostileClientsTest : public ::testing::Test {
protected:
    void SetUp() override { accounts_.Add("alice", "secret", "", true); }

    // Makes the server over games (the fixture's own when none) and binds it: connections
    // wait in its backlog until Listen.
    void Bind(ladder::RouteOptions options, ladder::GameService* games = nullptr) {
        server_ =
            std::make_unique<ladder::LadderRoutes>(games ? *games : games_, std::move(options));
        port_ = server_->Bind("127.0.0.1", 0);
        ASSERT_GT(port_, 0);
    }
    void Listen() {
        thread_ = std::thread([this] { server_->Listen(); });
    }
    void Serve(ladder::RouteOptions options, ladder::GameService* games = nullptr) {
        Bind(std::move(options), games);
        Listen();
    }
    void TearDown() override {
        if (thread_.joinable()) {
            server_->Stop();
            thread_.join();
        }
    }

    // A start and a finish of alice's, as the game's engine would make them: each must be
    // answered within its 2 s. The official time, or -1.
    int PlayOneGame(const char* source = "127.0.0.1") {
        const auto started = PostFrom(port_, source, paths::kStart, StartBody("alice", "secret"));
        if (started.status != 200) {
            ADD_FAILURE() << "start answered " << started.status << " " << started.body;
            return -1;
        }
        const json game = json::parse(started.body);
        const json finish{{"user", "alice"},
                          {"password", "secret"},
                          {"game_id", game["game_id"]},
                          {"grid", SolutionOf(game["puzzle"])}};
        const auto finished = PostFrom(port_, source, paths::kFinish, finish.dump());
        if (finished.status != 200) {
            ADD_FAILURE() << "finish answered " << finished.status << " " << finished.body;
            return -1;
        }
        return json::parse(finished.body)["seconds"].get<int>();
    }

    testing_support::ScratchDir scratch_;
    ladder::SystemClock clock_;
    ladder::SqliteStore store_{scratch_.Path("ladder.db"), clock_};
    ladder::AccountService accounts_{store_, clock_};
    ladder::GameService games_{store_, accounts_};
    std::unique_ptr<ladder::LadderRoutes> server_;
    int port_ = 0;
    std::thread thread_;
};

TEST_F(HostileClientsTest, SlowClientsAndHeaderFloodsHoldNobodyUp) {
    ladder::RouteOptions options;
    options.server.requestTimeout = std::chrono::milliseconds(1500);
    Serve(options);
    const auto until = Clock::now() + std::chrono::seconds(4);

    // Ten clients sending a byte every 200 ms: far too slow for the request's time.
    std::vector<std::thread> clients;
    std::atomic<int> timedOut = 0;
    for (int i = 0; i < 10; ++i) {
        clients.emplace_back([&] {
            RawConnection slow(port_);
            const std::string bytes =
                "POST /v2/games/start HTTP/1.1\r\nX-Slow: aaaaaaaaaaaaaaaaaaaa";
            for (char byte : bytes) {
                if (Clock::now() > until || slow.Answered() ||
                    !slow.Send(std::string_view(&byte, 1))) {
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
            }
            timedOut += slow.ReadToEnd().rfind("HTTP/1.1 408", 0) == 0;
        });
    }
    // Two clients sending header lines as fast as they can, again and again.
    std::atomic<int> floods = 0;
    std::atomic<int> refusedFloods = 0;
    for (int i = 0; i < 2; ++i) {
        clients.emplace_back([&] {
            const std::string line = "X-Flood: " + std::string(1000, 'a') + "\r\n";
            while (Clock::now() < until && floods < 200) {
                RawConnection flood(port_);
                flood.Send("GET /v2/standings HTTP/1.1\r\n");
                // Sent until the server answers: it must, long before the megabyte.
                std::size_t sent = 0;
                while (sent < 1024 * 1024 && !flood.Answered() && flood.Send(line)) {
                    sent += line.size();
                }
                ++floods;
                refusedFloods += flood.ReadToEnd().rfind("HTTP/1.1 431", 0) == 0;
            }
        });
    }

    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (int game = 0; game < 3; ++game) {
        const auto asked = Clock::now();
        EXPECT_GE(PlayOneGame(), 0);
        EXPECT_LT(Clock::now() - asked, testing_support::PatienceOf(2000));
    }
    for (auto& client : clients) {
        client.join();
    }
    EXPECT_EQ(timedOut, 10);
    EXPECT_GT(floods, 0);
    EXPECT_EQ(refusedFloods, floods);
}

TEST_F(HostileClientsTest, HalfClosedPipelinedAndRangedRequestsAreAnsweredInFull) {
    Serve({});
    const auto started = PostFrom(port_, "127.0.0.1", paths::kStart, StartBody("alice", "secret"));
    ASSERT_EQ(started.status, 200);
    const json game = json::parse(started.body);
    const std::string finish = json{{"user", "alice"},
                                    {"password", ""},
                                    {"game_id", game["game_id"]},
                                    {"grid", SolutionOf(game["puzzle"])}}
                                   .dump();
    const std::string get = " HTTP/1.1\r\nHost: ladder\r\nRange: bytes=0-0,1-1,0-0\r\n\r\n";
    const std::string bytes = "POST /v2/games/finish HTTP/1.1\r\nHost: ladder\r\nContent-Length: " +
                              std::to_string(finish.size()) + "\r\n\r\n" + finish +
                              "GET /v2/standings" + get + "HEAD /v2/version" + get;
    // All in one write, then the sending side closed: every answer still comes, in order,
    // whole, however the Range header asks for pieces.
    const auto answers = ladder_testing::Exchange(port_, bytes);
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[0].status, 200);
    EXPECT_TRUE(json::parse(answers[0].body)["seconds"].is_number_integer());
    EXPECT_EQ(answers[1].status, 200);
    EXPECT_EQ(json::parse(answers[1].body)["standings"][0]["solved"], 1);
    EXPECT_EQ(answers[2].status, 200);
    EXPECT_EQ(answers[2].body, "");
    for (const RawAnswer& answer : answers) {
        EXPECT_EQ(answer.head.find("Content-Range"), std::string::npos) << answer.head;
    }

    // A client that waits for "100 Continue" before its body gets it.
    RawConnection patient(port_);
    const std::string body = StartBody("alice", "secret");
    ASSERT_TRUE(
        patient.Send("POST /v2/games/start HTTP/1.1\r\nHost: ladder\r\nExpect: 100-continue\r\n"
                     "Content-Length: " +
                     std::to_string(body.size()) + "\r\n\r\n"));
    EXPECT_EQ(patient.ReadSome(), "HTTP/1.1 100 Continue\r\n\r\n");
    ASSERT_TRUE(patient.Send(body));
    patient.HalfClose();
    const auto answered = SplitAnswers(patient.ReadToEnd());
    ASSERT_EQ(answered.size(), 1u);
    EXPECT_EQ(answered[0].status, 200);
}

TEST_F(HostileClientsTest, ACrowdConnectingBeforeTheServerLooksIsAllAnswered) {
    // Bound but not yet accepting, as when the loop is busy: the connections wait in the
    // backlog, which must hold them all. The crowd is thirty clients of ten connections each.
    Bind({});
    std::vector<std::unique_ptr<RawConnection>> crowd;
    for (int i = 0; i < 300; ++i) {
        const std::string source = "127.0.1." + std::to_string(1 + i % 30);
        crowd.push_back(std::make_unique<RawConnection>(port_, source.c_str(), 10));
        ASSERT_TRUE(crowd.back()->Connected()) << i;
        ASSERT_TRUE(crowd.back()->Send(
            "GET /v2/version HTTP/1.1\r\nHost: ladder\r\nConnection: close\r\n\r\n"));
    }
    Listen();
    int answered = 0;
    for (auto& connection : crowd) {
        const auto answers = SplitAnswers(connection->ReadToEnd());
        answered += answers.size() == 1 && answers[0].status == 200;
    }
    EXPECT_EQ(answered, 300);
}

TEST_F(HostileClientsTest, LoginFloodsAreThrottledWhileThePlayerStillGetsIn) {
    Serve({});
    // What a login takes on this machine at this moment, flood and all, but for a queue: a
    // start called directly (the slower of two) and a round trip through the server that no
    // login queue holds up. A machine that is busy (a build beside, the sanitizer) makes it
    // longer, and the bounds with it.
    Clock::duration fastestWork = Clock::duration::max();
    auto unqueuedLogin = [&] {
        Clock::duration slowest{};
        for (int i = 0; i < 2; ++i) {
            const auto begun = Clock::now();
            EXPECT_TRUE(std::holds_alternative<ladder::StartedGame>(
                games_.Start("alice", "secret", "127.0.0.9")));
            const auto took = Clock::now() - begun;
            slowest = std::max(slowest, took);
            fastestWork = std::min(fastestWork, took);
        }
        const auto asked = Clock::now();
        EXPECT_EQ(ladder_testing::Exchange(port_,
                                           "GET /v2/version HTTP/1.1\r\nHost: ladder\r\n"
                                           "Connection: close\r\n\r\n",
                                           "127.0.0.3", ladder_testing::Ending::ServerCloses)
                      .size(),
                  1u);
        return slowest + (Clock::now() - asked);
    };

    // Sixteen clients at one address guessing an unknown user's password, as fast as they
    // are answered.
    std::atomic<bool> flooding = true;
    std::atomic<int> guesses = 0;
    std::vector<std::thread> flood;
    const auto floodBegan = Clock::now();
    for (int i = 0; i < 16; ++i) {
        flood.emplace_back([&, i] {
            while (flooding && guesses < 50000) {
                const auto answer = PostFrom(port_, "127.0.0.2", paths::kStart,
                                             StartBody("mallory", "guess" + std::to_string(i)));
                // Refused, or at first, while the guesses still fill the login queue, busy.
                EXPECT_TRUE(answer.status == 403 || answer.status == 503) << answer.status;
                ++guesses;
            }
        });
    }
    // Once the address is throttled, its guesses are refused at once.
    EXPECT_TRUE(
        testing_support::WaitUntil([&] { return guesses >= 200; }, std::chrono::seconds(30)));
    // A player's login waits for its own work, not behind the guesses: against a server that
    // queued the guesses in turn with it, every login waited six times that.
    // That is timed just before and just after each login, so that a load that comes or goes
    // meanwhile counts on both sides, and the best of three logins is held to it, so that a
    // moment's load on a busy machine does not count as the queue's.
    double shortestRelativeWait = std::numeric_limits<double>::max();
    for (int login = 0; login < 3; ++login) {
        const auto before = unqueuedLogin();
        const auto asked = Clock::now();
        const auto answer =
            PostFrom(port_, "127.0.0.3", paths::kStart, StartBody("alice", "secret"));
        const auto waited = Clock::now() - asked;
        EXPECT_EQ(answer.status, 200) << answer.body;
        shortestRelativeWait =
            std::min(shortestRelativeWait,
                     std::chrono::duration<double>(waited) /
                         std::chrono::duration<double>(std::max(before, unqueuedLogin())));
    }
    EXPECT_LT(shortestRelativeWait, 3);
    flooding = false;
    for (auto& client : flood) {
        client.join();
    }
    // Refused at once, without a hash each: far more guesses were answered than the login
    // threads could have hashed meanwhile.
    const double couldHash = std::thread::hardware_concurrency() *
                             std::chrono::duration<double>(Clock::now() - floodBegan) /
                             std::chrono::duration<double>(fastestWork);
    EXPECT_GT(guesses, 4 * couldHash);

    // Wrong passwords for alice from one address: after a few, that address must wait, even
    // with the right password; from another address the right one is let in.
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(PostFrom(port_, "127.0.0.4", paths::kStart, StartBody("alice", "wrong")).status,
                  403);
    }
    EXPECT_EQ(PostFrom(port_, "127.0.0.4", paths::kStart, StartBody("alice", "secret")).status,
              403);
    EXPECT_EQ(PostFrom(port_, "127.0.0.5", paths::kStart, StartBody("alice", "secret")).status,
              200);
}

TEST_F(HostileClientsTest, StartsBeyondTheLoginQueueAreToldTheServerIsBusy) {
    // The one login thread is held inside a start, dealing its puzzle, until the test lets it
    // go: the queue's one place is then all the room there is, however the threads interleave.
    std::mutex mutex;
    std::condition_variable changed;
    bool dealing = false;
    bool released = false;
    ladder::GameService held(store_, accounts_, [&] {
        std::unique_lock lock(mutex);
        dealing = true;
        changed.notify_all();
        changed.wait(lock, [&] { return released; });
        return ladder::DealLadderPuzzle();
    });
    ladder::RouteOptions options;
    options.loginThreads = 1;
    options.loginQueue = 1;
    Serve(options, &held);

    const auto patience = Clock::now() + testing_support::PatienceOf(10000);
    RawAnswer first;
    std::vector<std::thread> players;
    players.emplace_back(
        [&] { first = PostFrom(port_, "127.0.0.1", paths::kStart, StartBody("alice", "secret")); });
    std::vector<RawAnswer> burst(7);
    std::size_t answeredWhileHeld = 0;
    {
        std::unique_lock lock(mutex);
        if (changed.wait_until(lock, patience, [&] { return dealing; })) {
            for (std::size_t i = 0; i < burst.size(); ++i) {
                players.emplace_back([&, i] {
                    RawAnswer answer =
                        PostFrom(port_, "127.0.0.1", paths::kStart, StartBody("alice", "secret"));
                    const std::lock_guard answered(mutex);
                    burst[i] = std::move(answer);
                    ++answeredWhileHeld;
                    changed.notify_all();
                });
            }
            // Every start but the one that found the queue's place is answered at once.
            changed.wait_until(lock, patience,
                               [&] { return answeredWhileHeld == burst.size() - 1; });
            EXPECT_EQ(answeredWhileHeld, burst.size() - 1);
        } else {
            ADD_FAILURE() << "the first start never reached the login thread";
        }
        released = true;
        changed.notify_all();
    }
    for (auto& player : players) {
        player.join();
    }

    EXPECT_EQ(first.status, 200) << first.body;
    int started = 0;
    for (const RawAnswer& answer : burst) {
        if (answer.status == 200) {
            ++started;
            continue;
        }
        ASSERT_EQ(answer.status, 503) << answer.body;
        EXPECT_NE(answer.head.find("\r\nRetry-After: 1"), std::string::npos) << answer.head;
        EXPECT_EQ(json::parse(answer.body)["error"], ladder::codes::kBusy);
    }
    EXPECT_EQ(started, 1);        // the one that waited in the queue is served
    EXPECT_GE(PlayOneGame(), 0);  // and once the burst is over, a start goes through again
}

TEST_F(HostileClientsTest, ConnectionsThatSayNothingLockNoPlayerOut) {
    // Few places, so that one client could take them all: four an address, sixteen in all,
    // and no deadline that frees one while this part looks.
    ladder::RouteOptions options;
    options.server.maxConnections = 16;
    options.server.maxConnectionsPerAddress = 4;
    options.server.exemptPeers = {"127.0.0.10"};
    options.server.firstByteTimeout = std::chrono::minutes(5);
    options.server.idleTimeout = std::chrono::minutes(5);
    Serve(options);
    using Crowd = std::vector<std::unique_ptr<RawConnection>>;
    const auto open = [&](Crowd& crowd, const char* source, int count) {
        for (int i = 0; i < count; ++i) {
            crowd.push_back(std::make_unique<RawConnection>(port_, source));
            EXPECT_TRUE(crowd.back()->Connected()) << source;
        }
    };

    // An address's fifth is closed at once, its first four are kept.
    Crowd greedy;
    open(greedy, "127.0.0.2", 5);
    greedy.back()->ReadToEnd();
    EXPECT_TRUE(greedy.back()->Closed());
    greedy.pop_back();
    for (const auto& connection : greedy) {
        EXPECT_FALSE(connection->Answered());
    }
    // A front is not held to the four; two more clients fill the sixteen places.
    Crowd front;
    open(front, "127.0.0.10", 5);
    Crowd others;
    open(others, "127.0.0.3", 4);
    open(others, "127.0.0.4", 3);
    // A player still gets in, in the place of the oldest of the silent.
    EXPECT_GE(PlayOneGame("127.0.0.9"), 0);
    greedy.front()->ReadToEnd();
    EXPECT_TRUE(greedy.front()->Closed());
    EXPECT_FALSE(front.back()->Answered());
    EXPECT_FALSE(others.back()->Answered());

    // A connection that says nothing is soon given up; one that asked and was answered waits
    // for its next request as long as a kept-alive one may.
    server_->Stop();
    thread_.join();
    options.server.firstByteTimeout = std::chrono::milliseconds(200);
    Serve(options);
    RawConnection silent(port_, "127.0.0.5");
    RawConnection kept(port_, "127.0.0.6");
    ASSERT_TRUE(kept.Send("GET /v2/version HTTP/1.1\r\nHost: ladder\r\n\r\n"));
    EXPECT_EQ(ladder_testing::ReadAnswer(kept).status, 200);
    silent.ReadToEnd();
    EXPECT_TRUE(silent.Closed());
    EXPECT_FALSE(kept.Answered());
}

TEST_F(HostileClientsTest, RequestsWithoutOneHostOrWithAnUnknownExpectationAreRefused) {
    Serve({});
    const std::string version = "GET /v2/version HTTP/1.1\r\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {version + "\r\n", "HTTP/1.1 400 Bad Request"},
        {version + "Host: a\r\nHost: b\r\n\r\n", "HTTP/1.1 400 Bad Request"},
        {version + "Host: a\n\n", "HTTP/1.1 400 Bad Request"},
        {version + "Host: a\r\nExpect: 200-ok\r\n\r\n", "HTTP/1.1 417 Expectation Failed"},
        {"GET /v2/version HTTP/1.0\r\n\r\n", "HTTP/1.1 200 OK"},
    };
    for (const auto& [bytes, statusLine] : cases) {
        const auto answers = ladder_testing::Exchange(port_, bytes);
        ASSERT_EQ(answers.size(), 1u) << bytes;
        EXPECT_EQ(answers[0].head.substr(0, answers[0].head.find("\r\n")), statusLine) << bytes;
    }
}

}  // namespace
