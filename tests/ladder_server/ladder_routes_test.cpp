// The HTTP server in-process, in cpp-httplib's own test style: it listens on a thread for
// each test, and the test talks to it over loopback.

#include "ladder_server/routes/ladder_routes.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "ladder_server/routes/standings_request.h"
#include "ladder_server/store/sqlite/sqlite_store.h"
#include "sudoku/solver.h"
#include "tests/ladder_server/ladder_test_client.h"
#include "tests/support/scratch_dir.h"

namespace {

using ladder_testing::LadderTestClient;
using ladder_testing::Reply;
using ladder_testing::SolutionOf;
using nlohmann::json;
namespace codes = ladder::codes;
namespace paths = ladder::paths;

// Every row of every table, so a test can tell whether a request changed anything.
std::string DatabaseContents(const std::string& path) {
    ladder::sqlite::Connection connection(path);
    std::string contents;
    for (const char* sql : {"SELECT id, name, password_hash, email, enabled FROM users",
                            "SELECT id, user_id, puzzle, solution, level, started_at_ms, state, "
                            "finished_at_ms, seconds FROM games ORDER BY id",
                            "SELECT key, value FROM settings ORDER BY key"}) {
        ladder::sqlite::Statement select(connection, sql);
        while (select.Step()) {
            for (int column = 0; column < 9; ++column) {
                contents += select.Text(column) + "|";
            }
            contents += "\n";
        }
        contents += "--\n";
    }
    return contents;
}

// Sends bytes as they are on a new connection and returns all the server answers until it
// closes the connection.
std::string SendRaw(int port, const std::string& bytes) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval timeout{60, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    std::string answer;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size())) {
        char buffer[4096];
        ssize_t got = 0;
        while ((got = recv(fd, buffer, sizeof buffer, 0)) > 0) {
            answer.append(buffer, static_cast<std::size_t>(got));
        }
    }
    close(fd);
    return answer;
}

class LadderRoutesTest : public ::testing::Test {
protected:
    void SetUp() override {
        accounts_.Add("alice", "secret", "", true);
        accounts_.Add("bob", "secret", "", true);
        accounts_.Add("carol", "secret", "", false);
        port_ = server_.Bind("127.0.0.1", 0);
        ASSERT_GT(port_, 0);
        thread_ = std::thread([this] { server_.Listen(); });
        while (!server_.IsRunning()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    void TearDown() override {
        if (thread_.joinable()) {
            server_.Stop();
            thread_.join();
        }
    }

    LadderTestClient Client() const { return LadderTestClient("127.0.0.1", port_); }

    // Starts a game of alice's and returns the answer's body.
    json StartAlice() {
        const Reply started = Client().Start("alice", "secret");
        EXPECT_EQ(started.status, 200);
        return started.body;
    }

    testing_support::ScratchDir scratch_;
    std::string databasePath_ = scratch_.Path("ladder.db");
    ladder::SystemClock clock_;
    ladder::SqliteStore store_{databasePath_, clock_};
    ladder::AccountService accounts_{store_, clock_};
    ladder::GameService games_{store_, accounts_};
    ladder::LadderRoutes server_{games_, 4};
    int port_ = 0;
    std::thread thread_;
};

TEST_F(LadderRoutesTest, StartGivesAnEnabledUserAnUnguessableIdAndAUniquePuzzle) {
    const Reply started = Client().Start("alice", "secret");
    ASSERT_EQ(started.status, 200);
    ASSERT_TRUE(started.body["game_id"].is_string());
    const std::string id = started.body["game_id"];
    EXPECT_GE(id.size(), 32u);
    EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos) << id;
    const std::string puzzle = started.body["puzzle"];
    ASSERT_EQ(puzzle.size(), 81u);
    EXPECT_EQ(puzzle.find_first_not_of(".123456789"), std::string::npos) << puzzle;
    EXPECT_TRUE(sudoku::HasUniqueSolution(*sudoku::ParseLine(puzzle)));
    EXPECT_EQ(started.body.size(), 2u);
}

TEST_F(LadderRoutesTest, UnknownUserWrongPasswordAndDisabledUserGetTheSameAnswer) {
    const Reply unknown = Client().Start("dave", "secret");
    const Reply wrong = Client().Start("alice", "Secret");
    const Reply disabled = Client().Start("carol", "secret");
    EXPECT_EQ(unknown.status, 403);
    EXPECT_EQ(unknown.Error(), codes::kNotEnabled);
    EXPECT_EQ(wrong.status, unknown.status);
    EXPECT_EQ(wrong.body, unknown.body);
    EXPECT_EQ(disabled.status, unknown.status);
    EXPECT_EQ(disabled.body, unknown.body);
}

TEST_F(LadderRoutesTest, GuessedIdsAndOtherUsersIdsAreNotLadderGames) {
    const json game = StartAlice();
    const std::string id = game["game_id"];
    const std::string solution = SolutionOf(game["puzzle"]);
    auto client = Client();
    for (const std::string& guess :
         {std::string(32, '0'), std::string("0123456789abcdef") + "fedcba9876543210",
          id.substr(0, 31), id + "0", std::string("'; DROP TABLE games; --"), std::string()}) {
        SCOPED_TRACE(guess);
        const Reply finish = client.Finish("alice", guess, solution);
        EXPECT_EQ(finish.status, 404);
        EXPECT_EQ(finish.Error(), codes::kNotLadder);
        EXPECT_EQ(client.Forfeit("alice", guess).Error(), codes::kNotLadder);
    }
    EXPECT_EQ(client.Finish("bob", id, solution).Error(), codes::kNotLadder);
    EXPECT_EQ(client.Forfeit("bob", id).Error(), codes::kNotLadder);
    EXPECT_EQ(client.Finish("ALICE", id, solution).Error(), codes::kNotLadder);

    // None of that touched alice's game.
    const Reply finished = client.Finish("alice", id, solution);
    EXPECT_EQ(finished.status, 200);
    EXPECT_TRUE(finished.body["seconds"].is_number_integer());
    EXPECT_GE(finished.body["seconds"].get<int>(), 0);
}

TEST_F(LadderRoutesTest, AClosedGameCannotBeFinishedOrForfeitedAgain) {
    auto client = Client();
    const json solved = StartAlice();
    const std::string solution = SolutionOf(solved["puzzle"]);
    EXPECT_EQ(client.Finish("alice", solved["game_id"], solution).status, 200);
    const Reply twice = client.Finish("alice", solved["game_id"], solution);
    EXPECT_EQ(twice.status, 404);
    EXPECT_EQ(twice.Error(), codes::kNotLadder);
    EXPECT_EQ(client.Forfeit("alice", solved["game_id"]).Error(), codes::kNotLadder);

    const json forfeited = StartAlice();
    const Reply forfeit = client.Forfeit("alice", forfeited["game_id"]);
    EXPECT_EQ(forfeit.status, 200);
    EXPECT_EQ(forfeit.body, json::object());
    EXPECT_EQ(client.Finish("alice", forfeited["game_id"], SolutionOf(forfeited["puzzle"])).Error(),
              codes::kNotLadder);
    EXPECT_EQ(client.Forfeit("alice", forfeited["game_id"]).Error(), codes::kNotLadder);
}

TEST_F(LadderRoutesTest, AWrongOrIncompleteGridClosesTheGameAsFailed) {
    auto client = Client();
    const json incomplete = StartAlice();
    const Reply empty = client.Finish("alice", incomplete["game_id"], incomplete["puzzle"]);
    EXPECT_EQ(empty.status, 422);
    EXPECT_EQ(empty.Error(), codes::kNotCompleted);
    EXPECT_EQ(
        client.Finish("alice", incomplete["game_id"], SolutionOf(incomplete["puzzle"])).Error(),
        codes::kNotLadder);

    const json wrong = StartAlice();
    std::string grid = SolutionOf(wrong["puzzle"]);
    std::swap(grid[0], grid[80]);
    if (grid[0] == grid[80]) {
        std::swap(grid[0], grid[1]);
    }
    EXPECT_EQ(client.Finish("alice", wrong["game_id"], grid).Error(), codes::kNotCompleted);

    const auto standings = client.Get(paths::kStandings);
    EXPECT_EQ(standings.body, json::parse(R"({"standings": [{"place": 1, "user": "alice",
                                                             "solved": 0, "best_seconds": null}],
                                               "players": 1, "previous": null, "next": null})"));
}

TEST_F(LadderRoutesTest, TwoFinishesOfOneGameAtOnceCountOnce) {
    const json game = StartAlice();
    const std::string solution = SolutionOf(game["puzzle"]);
    std::vector<std::thread> threads;
    std::vector<int> statuses(4);
    for (std::size_t i = 0; i < statuses.size(); ++i) {
        threads.emplace_back(
            [&, i] { statuses[i] = Client().Finish("alice", game["game_id"], solution).status; });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), 200), 1);
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), 404), 3);
}

TEST_F(LadderRoutesTest, StandingsAndVersionAnswerGet) {
    auto client = Client();
    EXPECT_EQ(client.Get(paths::kStandings).body,
              json::parse(R"({"standings": [], "players": 0, "previous": null, "next": null})"));
    EXPECT_EQ(client.Get(paths::kVersion).body, json::parse(R"({"version": "", "download": ""})"));
    store_.SetVersion({"1.2.0", "https://example.org/q"});
    EXPECT_EQ(client.Get(paths::kVersion).body,
              json::parse(R"({"version": "1.2.0", "download": "https://example.org/q"})"));

    for (const char* user : {"bob", "alice"}) {
        const Reply started = client.Start(user, "secret");
        client.Finish(user, started.body["game_id"], SolutionOf(started.body["puzzle"]));
    }
    const Reply standings = client.Get(paths::kStandings);
    EXPECT_EQ(standings.status, 200);
    ASSERT_EQ(standings.body["standings"].size(), 2u);
    for (const json& row : standings.body["standings"]) {
        EXPECT_EQ(row["solved"], 1);
        EXPECT_TRUE(row["best_seconds"].is_number_integer());
    }

    // The same standings as a page for people, under both its addresses.
    httplib::Client browser("127.0.0.1", port_);
    for (const char* path : {"/", "/standings"}) {
        const auto page = browser.Get(path);
        ASSERT_TRUE(page);
        EXPECT_EQ(page->status, 200);
        EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
        EXPECT_NE(page->get_header_value("Content-Security-Policy").find("default-src 'none'"),
                  std::string::npos);
        EXPECT_NE(page->body.find("<td class=\"player\">alice</td>"), std::string::npos);
    }
}

TEST_F(LadderRoutesTest, StandingsArePagedByCursorsAndCachedByTheirEntityTags) {
    // Seven players, whatever their times: four solved counts of their own, then three who
    // solved none and so share a place, ordered by name.
    using ladder::GameState;
    const std::vector<std::pair<std::string, std::vector<GameState>>> players = {
        {"gus", {GameState::Forfeited}},
        {"ann", std::vector<GameState>(4, GameState::Solved)},
        {"eve", {GameState::Failed}},
        {"cat", {GameState::Solved, GameState::Solved, GameState::Failed}},
        {"b.o.b", std::vector<GameState>(3, GameState::Solved)},
        {"fay", {GameState::Open}},
        {"dan", {GameState::Solved}},
    };
    const auto game = [&](const std::string& id, const std::string& user) {
        ladder::GameRecord record;
        record.id = id;
        record.userId = store_.FindUser(user)->id;
        record.puzzle = std::string(81, '.');
        record.solution = std::string(81, '1');
        store_.AddGame(record);
    };
    for (const auto& [name, games] : players) {
        ASSERT_TRUE(store_.AddUser({0, name, "x", "", true, 0}));
        for (std::size_t i = 0; i < games.size(); ++i) {
            const std::string gameId = name + "-" + std::to_string(i);
            game(gameId, name);
            if (games[i] != GameState::Open) {
                store_.CloseGame(gameId, games[i]);
            }
        }
    }
    const std::vector<std::string> order = {"ann", "b.o.b", "cat", "dan", "eve", "fay", "gus"};
    const std::vector<int> places = {1, 2, 3, 4, 5, 5, 5};

    httplib::Client http("127.0.0.1", port_);
    const auto get = [&](const std::string& target, const httplib::Headers& headers = {}) {
        auto answer = http.Get(target, headers);
        EXPECT_TRUE(answer) << target;
        return answer ? *answer : httplib::Response();
    };
    const auto page = [&](const std::string& query) {
        const auto answer = get(std::string(paths::kStandings) + query);
        EXPECT_EQ(answer.status, 200) << query << ": " << answer.body;
        const json body = json::parse(answer.body, nullptr, false);
        EXPECT_EQ(body.value("players", -1), 7) << query;
        return body;
    };
    // Each player once, in order, page after page, and the same again backwards.
    std::vector<json> forward;
    json at = page("?limit=2");
    for (;;) {
        forward.insert(forward.end(), at["standings"].begin(), at["standings"].end());
        EXPECT_EQ(at["previous"].is_null(), forward.size() <= 2);
        if (at["next"].is_null() || forward.size() > order.size()) {
            break;
        }
        at = page("?limit=2&after=" + at["next"].get<std::string>());
    }
    std::vector<json> backward(at["standings"].begin(), at["standings"].end());
    while (!at["previous"].is_null() && backward.size() <= order.size()) {
        at = page("?limit=2&before=" + at["previous"].get<std::string>());
        backward.insert(backward.begin(), at["standings"].begin(), at["standings"].end());
    }
    ASSERT_EQ(forward.size(), order.size());
    ASSERT_EQ(backward, forward);
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(forward[i]["user"], order[i]);
        EXPECT_EQ(forward[i]["place"], places[i]) << order[i];
        EXPECT_EQ(forward[i]["solved"], 4 - std::min<int>(4, static_cast<int>(i)));
        EXPECT_EQ(forward[i]["best_seconds"].is_null(), i >= 4);
    }

    // Past the last row: no rows and no cursors, whatever the key.
    const json past = page("?after=0..gus");
    EXPECT_EQ(past["standings"], json::array());
    EXPECT_TRUE(past["previous"].is_null() && past["next"].is_null()) << past;

    // Around a player: the player in the middle, or as near as the top allows.
    for (const auto& [query, users] : std::vector<std::pair<std::string, std::string>>{
             {"?player=dan&limit=3", "cat dan eve"},
             {"?limit=3&player=ann", "ann b.o.b cat"},
             {"?player=gus", "ann b.o.b cat dan eve fay gus"}}) {
        const json around = page(query);
        std::string seen;
        for (const json& row : around["standings"]) {
            seen += (seen.empty() ? "" : " ") + row["user"].get<std::string>();
        }
        EXPECT_EQ(seen, users) << query;
        EXPECT_EQ(around["previous"].is_null(), users.rfind("ann", 0) == 0) << query;
    }

    // Refusals: JSON with their code from the API, a page with a message from the page.
    for (const auto& [target, status] : std::vector<std::pair<std::string, int>>{
             {"/v2/standings?player=alice", 404},  // an account that never played
             {"/v2/standings?player=nobody", 404},
             {"/v2/standings?limit=201", 400},
             {"/v2/standings?after=1.2.x&player=ann", 400},
             {"/v2/standings?after=99999999999999999999.1.x", 400},
             {"/v2/standings?player=%ZZ", 400},
             {"/v2/standings?sort=name", 400},
             {"/?player=nobody", 404},
             {"/standings?limit=0", 400}}) {
        const auto answer = get(target);
        EXPECT_EQ(answer.status, status) << target;
        EXPECT_FALSE(answer.has_header("ETag")) << target;
        if (target.rfind(paths::kStandings, 0) == 0) {
            const json body = json::parse(answer.body, nullptr, false);
            EXPECT_EQ(body.value("error", ""),
                      status == 404 ? codes::kNotFound : codes::kBadRequest);
            EXPECT_TRUE(body.contains("message")) << answer.body;
        } else {
            EXPECT_EQ(answer.get_header_value("Content-Type"), "text/html; charset=utf-8");
            EXPECT_NE(answer.body.find(status == 404 ? "Nobody called \u201cnobody\u201d"
                                                     : "cannot be shown"),
                      std::string::npos)
                << answer.body;
        }
    }

    // Cacheable for a few seconds; asked again with the tag, the same answer is a bare 304.
    for (const std::string target : {"/v2/standings?limit=3", "/standings", "/?player=cat"}) {
        SCOPED_TRACE(target);
        const auto first = get(target);
        ASSERT_EQ(first.status, 200);
        EXPECT_EQ(first.get_header_value("Cache-Control"), "public, max-age=5");
        const std::string tag = first.get_header_value("ETag");
        EXPECT_EQ(tag, ladder::EntityTag(first.body));
        for (const std::string& asked : {tag, "W/" + tag, "\"0\", " + tag, std::string("*")}) {
            const auto again = get(target, {{"If-None-Match", asked}});
            EXPECT_EQ(again.status, 304) << asked;
            EXPECT_EQ(again.body, "");
            EXPECT_EQ(again.get_header_value("ETag"), tag);
            EXPECT_EQ(again.get_header_value("Cache-Control"), "public, max-age=5");
        }
        EXPECT_EQ(get(target, {{"If-None-Match", "\"0\""}}).body, first.body);
    }
    // On the wire, a 304 has no length and the connection goes on to the next answer.
    const std::string tag = get("/v2/standings").get_header_value("ETag");
    const std::string wire =
        SendRaw(port_, "GET /v2/standings HTTP/1.1\r\nHost: x\r\nIf-None-Match: " + tag +
                           "\r\n\r\nHEAD /v2/standings HTTP/1.1\r\nHost: x\r\n"
                           "Connection: close\r\nIf-None-Match: " +
                           tag + "\r\n\r\n");
    const std::size_t second = wire.find("HTTP/1.1", 1);
    ASSERT_NE(second, std::string::npos) << wire;
    EXPECT_EQ(wire.rfind("HTTP/1.1 304 Not Modified\r\n", 0), 0u) << wire;
    EXPECT_EQ(wire.substr(0, second).find("Content-Length"), std::string::npos) << wire;
    EXPECT_EQ(wire.substr(0, second).find("\r\n\r\n") + 4, second) << wire;
    EXPECT_EQ(wire.find("HTTP/1.1 304 Not Modified\r\n", second), second) << wire;
    // A game that changes the standings changes the tag.
    game("alice-0", "alice");
    const auto changed = get("/v2/standings", {{"If-None-Match", tag}});
    EXPECT_EQ(changed.status, 200);
    EXPECT_NE(changed.get_header_value("ETag"), tag);
    EXPECT_EQ(json::parse(changed.body)["players"], 8);
}

TEST_F(LadderRoutesTest, BadRequestsAnswerWithTheirCodeAndLeaveTheDatabaseAlone) {
    const json game = StartAlice();
    const std::string id = game["game_id"];
    const std::string before = DatabaseContents(databasePath_);

    struct Case {
        const char* what;
        const char* method;
        std::string path;
        std::string body;
        int status;
        const char* code;
    };
    const std::string finishStart = R"({"user": "alice", "password": "", "game_id": ")" + id;
    const std::vector<Case> cases = {
        {"malformed JSON", "POST", paths::kStart, R"({"user": "alice", "password": )", 400,
         codes::kBadRequest},
        {"not an object", "POST", paths::kStart, R"(["alice", "secret"])", 400, codes::kBadRequest},
        {"a number for a name", "POST", paths::kStart, R"({"user": 7, "password": "secret"})", 400,
         codes::kBadRequest},
        {"no password", "POST", paths::kStart, R"({"user": "alice"})", 400, codes::kBadRequest},
        {"no grid", "POST", paths::kFinish, finishStart + "\"}", 400, codes::kBadRequest},
        {"a short grid", "POST", paths::kFinish, finishStart + R"(", "grid": "123"})", 400,
         codes::kBadRequest},
        {"a grid of numbers", "POST", paths::kFinish, finishStart + R"(", "grid": [1, 2, 3]})", 400,
         codes::kBadRequest},
        {"an id of a number", "POST", paths::kForfeit,
         R"({"user": "alice", "password": "", "game_id": 12})", 400, codes::kBadRequest},
        {"17 KiB", "POST", paths::kForfeit, std::string(17 * 1024, ' ') + finishStart + "\"}", 413,
         codes::kTooLarge},
        {"an unknown route", "POST", "/v2/games/restart", finishStart + "\"}", 404,
         codes::kNotFound},
        {"an unknown GET route", "GET", "/v1/version", "", 404, codes::kNotFound},
        {"GET on a POST route", "GET", paths::kFinish, "", 405, codes::kMethodNotAllowed},
        {"DELETE on a POST route", "DELETE", paths::kForfeit, "", 405, codes::kMethodNotAllowed},
        {"POST on a GET route", "POST", paths::kVersion, R"({"version": "9.9"})", 405,
         codes::kMethodNotAllowed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        httplib::Client client("127.0.0.1", port_);
        httplib::Request request;
        request.method = c.method;
        request.path = c.path;
        request.body = c.body;
        if (!c.body.empty()) {
            request.set_header("Content-Type", "application/json");
        }
        const auto result = client.send(request);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, c.status);
        const json body = json::parse(result->body, nullptr, false);
        EXPECT_EQ(body.value("error", ""), c.code) << result->body;
        EXPECT_TRUE(body.contains("message")) << result->body;
        EXPECT_EQ(result->get_header_value("Content-Type"), "application/json");
        if (c.status == 405) {
            EXPECT_EQ(result->get_header_value("Allow"),
                      std::string(c.method) == "POST" ? "GET, HEAD" : "POST");
        }
    }
    EXPECT_EQ(DatabaseContents(databasePath_), before);
    // The game those requests named is still open, and the server still answers.
    EXPECT_EQ(Client().Finish("alice", id, SolutionOf(game["puzzle"])).status, 200);
}

TEST_F(LadderRoutesTest, AnOversizedBodyIsRefusedWithoutReadingIt) {
    // Only the headers are sent: a server waiting for the 17 KiB would time out instead.
    const std::string headers =
        "POST /v2/games/start HTTP/1.1\r\nHost: x\r\n"
        "Content-Type: application/json\r\nContent-Length: 17408\r\n\r\n";
    const std::string answer = SendRaw(port_, headers);
    EXPECT_EQ(answer.rfind("HTTP/1.1 413", 0), 0u) << answer;
    EXPECT_NE(answer.find(codes::kTooLarge), std::string::npos) << answer;

    // Sent in chunks, it is refused once the 16 KiB are passed.
    std::string chunked =
        "POST /v2/games/start HTTP/1.1\r\nHost: x\r\n"
        "Transfer-Encoding: chunked\r\n\r\n";
    for (int i = 0; i < 17; ++i) {
        chunked += "400\r\n" + std::string(1024, ' ') + "\r\n";
    }
    chunked += "0\r\n\r\n";
    const std::string chunkedAnswer = SendRaw(port_, chunked);
    EXPECT_EQ(chunkedAnswer.rfind("HTTP/1.1 413", 0), 0u) << chunkedAnswer;

    // A smaller chunked body is read as any other.
    const std::string body = R"({"user": "alice", "password": "wrong"})";
    char size[16];
    std::snprintf(size, sizeof size, "%zx", body.size());
    const std::string small =
        "POST /v2/games/start HTTP/1.1\r\nHost: x\r\nConnection: close\r\n"
        "Transfer-Encoding: chunked\r\n\r\n" +
        std::string(size) + "\r\n" + body + "\r\n0\r\n\r\n";
    const std::string smallAnswer = SendRaw(port_, small);
    EXPECT_EQ(smallAnswer.rfind("HTTP/1.1 403", 0), 0u) << smallAnswer;
}

TEST_F(LadderRoutesTest, GarbageOnTheWireGetsAJsonRefusalAndTheServerGoesOn) {
    for (const std::string& bytes :
         {std::string("NONSENSE\r\n\r\n"),
          std::string("POST /v2/games/start HTTP/1.1\r\n"
                      "Content-Length: twelve\r\n\r\n"),
          std::string("POST /v2/games/start HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"),
          std::string("GET /") + std::string(20000, 'a') + " HTTP/1.1\r\n\r\n"}) {
        SCOPED_TRACE(bytes.substr(0, 60));
        const std::string answer = SendRaw(port_, bytes);
        EXPECT_EQ(answer.rfind("HTTP/1.1 4", 0), 0u) << answer;
    }
    EXPECT_EQ(Client().Get(paths::kVersion).status, 200);
}

}  // namespace
