// The operators' routes of the HTTP server in-process: the health check and the metrics, read
// as a scraper reads them, around games played and requests refused over loopback.

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <mutex>
#include <sstream>
#include <thread>

#include "ladder_server/routes/ladder_routes.h"
#include "ladder_server/store/sqlite/sqlite_store.h"
#include "tests/ladder_server/ladder_test_client.h"
#include "tests/ladder_server/raw_http.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/time_bounds.h"

namespace {

using ladder_testing::LadderTestClient;
using ladder_testing::Reply;
using ladder_testing::SolutionOf;
using nlohmann::json;
namespace paths = ladder::paths;

// The value of one series in a metrics text (its name with its labels, as the text spells
// them), or 0 when the series is not there.
double Sample(const std::string& text, const std::string& series) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(series + ' ', 0) == 0) {
            return std::stod(line.substr(series.size() + 1));
        }
    }
    return 0;
}

std::string Requests(const std::string& route, int status) {
    return "quillmark_ladder_requests_total{route=\"" + route + "\",status=\"" +
           std::to_string(status) + "\"}";
}

// Holds every start in the dealer, after its password was checked, until released.
class HeldDealer {
public:
    ladder::LadderPuzzle operator()() {
        ++entered_;
        released_.wait();
        return ladder::DealLadderPuzzle();
    }
    // Lets every start held, and every later one, go on; again, nothing.
    void Release() {
        std::call_once(released_once_, [this] { release_.set_value(); });
    }
    int Entered() const { return entered_; }

private:
    std::atomic<int> entered_ = 0;
    std::once_flag released_once_;
    std::promise<void> release_;
    std::shared_future<void> released_ = release_.get_future().share();
};

class OperationsRoutesTest : public ::testing::Test {
protected:
    void SetUp() override {
        accounts_.Add("alice", "secret", "", true);
        port_ = server_.Bind("127.0.0.1", 0);
        ASSERT_GT(port_, 0);
        thread_ = std::thread([this] { server_.Listen(); });
        ASSERT_TRUE(testing_support::WaitUntil([this] { return server_.IsRunning(); },
                                               testing_support::PatienceOf(10'000)));
    }
    void TearDown() override {
        dealer_.Release();
        server_.Stop();
        thread_.join();
    }

    static ladder::RouteOptions Options() {
        ladder::RouteOptions options;
        options.threads = 2;
        // One start runs and one waits: a third is refused busy.
        options.loginThreads = 1;
        options.loginQueue = 1;
        options.loginQueuePerAddress = 1;
        return options;
    }

    LadderTestClient Client() const { return LadderTestClient("127.0.0.1", port_); }

    std::string Metrics() {
        httplib::Client client("127.0.0.1", port_);
        const auto answer = client.Get(paths::kMetrics);
        EXPECT_TRUE(answer);
        if (!answer) {
            return {};
        }
        EXPECT_EQ(answer->status, 200);
        EXPECT_EQ(answer->get_header_value("Content-Type"), "text/plain; version=0.0.4");
        return answer->body;
    }

    testing_support::ScratchDir scratch_;
    ladder::SystemClock clock_;
    ladder::SqliteStore store_{scratch_.Path("ladder.db"), clock_, 3};
    ladder::AccountService accounts_{store_, clock_};
    HeldDealer dealer_;
    ladder::GameService games_{store_, accounts_, [this] { return dealer_(); }};
    ladder::LadderRoutes server_{games_, Options()};
    int port_ = 0;
    std::thread thread_;
};

TEST_F(OperationsRoutesTest, HealthAndMetricsFollowGamesAndRefusals) {
    httplib::Client client("127.0.0.1", port_);
    const auto health = client.Get(paths::kHealth);
    ASSERT_TRUE(health);
    EXPECT_EQ(health->status, 200);
    EXPECT_EQ(json::parse(health->body), json::parse(R"({"status": "ok"})"));
    const auto headHealth = client.Head(paths::kHealth);
    ASSERT_TRUE(headHealth);
    EXPECT_EQ(headHealth->status, 200);
    EXPECT_TRUE(headHealth->body.empty());
    const auto headMetrics = client.Head(paths::kMetrics);
    ASSERT_TRUE(headMetrics);
    EXPECT_EQ(headMetrics->status, 200);
    EXPECT_EQ(client.Post(paths::kMetrics, "", "text/plain")->status, 405);

    const std::string before = Metrics();
    for (const char* family :
         {"quillmark_ladder_requests_total counter",
          "quillmark_ladder_request_duration_seconds "
          "histogram",
          "quillmark_ladder_refusals_total counter", "quillmark_ladder_queue_waiting gauge",
          "quillmark_ladder_db_connections_in_use gauge",
          "quillmark_ladder_games_started_total "
          "counter",
          "quillmark_ladder_games_finished_total counter"}) {
        EXPECT_NE(before.find(std::string("# TYPE ") + family + "\n"), std::string::npos) << family;
    }
    EXPECT_EQ(Sample(before, "quillmark_ladder_db_connections_max"), 3);

    // One game solved, one failed, one forfeited: each route and result moves by one.
    dealer_.Release();
    auto player = Client();
    std::vector<json> games;
    for (int i = 0; i < 3; ++i) {
        const Reply started = player.Start("alice", "secret");
        ASSERT_EQ(started.status, 200);
        games.push_back(started.body);
    }
    EXPECT_EQ(player.Finish("alice", games[0]["game_id"], SolutionOf(games[0]["puzzle"])).status,
              200);
    EXPECT_EQ(player.Finish("alice", games[1]["game_id"], games[1]["puzzle"]).status, 422);
    EXPECT_EQ(player.Forfeit("alice", games[2]["game_id"]).status, 200);
    EXPECT_EQ(player.Forfeit("alice", games[2]["game_id"]).status, 404);
    // Scanned paths all count under one label and never show as themselves.
    for (const char* path : {"/wp-login.php", "/.env", "/metrics/", "/v2/games/start/x"}) {
        EXPECT_EQ(client.Get(path)->status, 404);
    }
    // The transport's refusals, by reason; the connection has ended once its refusal is
    // counted, whether or not the answer arrived before the reset.
    const auto garbage = ladder_testing::Exchange(port_, "NONSENSE\r\n\r\n");
    ASSERT_EQ(garbage.size(), 1u);
    EXPECT_EQ(garbage[0].status, 400);
    ladder_testing::Exchange(port_, "GET /" + std::string(20000, 'a') + " HTTP/1.1\r\n\r\n");

    const std::string after = Metrics();
    struct Moved {
        std::string series;
        double by;
    };
    const std::string start = std::string("{route=\"") + paths::kStart + "\"}";
    for (const Moved& moved : std::vector<Moved>{
             {Requests(paths::kStart, 200), 3},
             {Requests(paths::kFinish, 200), 1},
             {Requests(paths::kFinish, 422), 1},
             {Requests(paths::kForfeit, 200), 1},
             {Requests(paths::kForfeit, 404), 1},
             {Requests(paths::kHealth, 200), 0},
             {Requests(paths::kMetrics, 200), 1},  // the scrape before; a scrape counts after
             {Requests("other", 404), 4},
             {"quillmark_ladder_request_duration_seconds_count" + start, 3},
             {"quillmark_ladder_request_duration_seconds_bucket{route=\"/v2/games/start\","
              "le=\"+Inf\"}",
              3},
             {"quillmark_ladder_games_started_total", 3},
             {"quillmark_ladder_games_finished_total{result=\"solved\"}", 1},
             {"quillmark_ladder_games_finished_total{result=\"failed\"}", 1},
             {"quillmark_ladder_games_finished_total{result=\"forfeited\"}", 1},
             {"quillmark_ladder_refusals_total{reason=\"bad_request\"}", 1},
             {"quillmark_ladder_refusals_total{reason=\"too_large\"}", 1},
             {"quillmark_ladder_refusals_total{reason=\"busy\"}", 0},
         }) {
        SCOPED_TRACE(moved.series);
        EXPECT_EQ(Sample(after, moved.series) - Sample(before, moved.series), moved.by);
    }
    EXPECT_GT(Sample(after, "quillmark_ladder_request_duration_seconds_sum" + start), 0);
    for (const char* path : {"wp-login", ".env", "/metrics/"}) {
        EXPECT_EQ(after.find(path), std::string::npos) << path;
    }
    const double open = Sample(after, "quillmark_ladder_db_connections_open");
    EXPECT_GE(open, 1);
    EXPECT_LE(open, 3);
    EXPECT_EQ(Sample(after, "quillmark_ladder_db_connections_in_use"), 0);
}

TEST_F(OperationsRoutesTest, AFloodOfStartsIsRefusedBusyAndCountedWithTheQueue) {
    const std::string waiting = "quillmark_ladder_queue_waiting{queue=\"login\"}";
    // The first start holds the login thread, the second waits in the queue.
    std::vector<std::future<Reply>> held;
    held.push_back(
        std::async(std::launch::async, [this] { return Client().Start("alice", "secret"); }));
    ASSERT_TRUE(testing_support::WaitUntil([this] { return dealer_.Entered() == 1; },
                                           testing_support::PatienceOf(10'000)));
    held.push_back(
        std::async(std::launch::async, [this] { return Client().Start("alice", "secret"); }));
    ASSERT_TRUE(testing_support::WaitUntil([&] { return Sample(Metrics(), waiting) == 1; },
                                           testing_support::PatienceOf(10'000)));
    const double busyBefore = Sample(Metrics(), "quillmark_ladder_refusals_total{reason=\"busy\"}");

    const Reply refused = Client().Start("alice", "secret");
    EXPECT_EQ(refused.status, 503);
    EXPECT_EQ(refused.Error(), ladder::codes::kBusy);
    const std::string during = Metrics();
    EXPECT_EQ(Sample(during, "quillmark_ladder_refusals_total{reason=\"busy\"}") - busyBefore, 1);
    EXPECT_EQ(Sample(during, Requests(paths::kStart, 503)), 1);

    dealer_.Release();
    for (auto& start : held) {
        EXPECT_EQ(start.get().status, 200);
    }
    const std::string after = Metrics();
    EXPECT_EQ(Sample(after, waiting), 0);
    EXPECT_EQ(Sample(after, "quillmark_ladder_games_started_total"), 2);
}

}  // namespace
