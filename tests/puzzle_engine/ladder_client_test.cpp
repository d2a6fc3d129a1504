#include "puzzle_engine/ladder_client.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ladder_protocol/protocol.h"
#include "puzzle_engine/error_codes.h"
#include "tests/puzzle_engine/fake_ladder_server.h"

namespace puzzle_engine {
namespace {

using nlohmann::json;
namespace paths = ladder::paths;

constexpr const char* kPuzzle =
    "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
const std::string kBad = codes::kBadServerAnswer;

std::string Game(const std::string& id, const std::string& puzzle) {
    return json{{"game_id", id}, {"puzzle", puzzle}}.dump();
}

std::string Error(const char* code) {
    return json{{"error", code}}.dump();
}

// A scripted answer and what the client makes of it.
struct Case {
    int status;
    std::string body;
    std::string result;
};

class LadderClientTest : public ::testing::Test {
protected:
    // The code a start comes to, or "started".
    std::string StartResult(const LadderClient& client) {
        auto started = client.Start("ada", "secret");
        const auto* code = std::get_if<std::string>(&started);
        return code ? *code : "started";
    }
    std::string FinishResult() {
        auto finished = client_.Finish("ada", "secret", "g-1", *sudoku::ParseLine(kPuzzle));
        const auto* seconds = std::get_if<std::uint64_t>(&finished);
        return seconds ? std::to_string(*seconds) : std::get<std::string>(finished);
    }

    testing_support::FakeLadderServer server_;
    LadderClient client_{2000};
};

TEST_F(LadderClientTest, AStartTakesAGameAndTheNotEnabledCodeAndNothingElse) {
    const std::string rulesBroken = "55" + std::string(kPuzzle + 2);
    const Case cases[] = {
        {200, Game("g-1", kPuzzle), "started"},
        {403, Error(ladder::codes::kNotEnabled), ladder::codes::kNotEnabled},
        {403, "<html>Forbidden</html>", kBad},
        {400, Error(ladder::codes::kBadRequest), kBad},
        {500, Game("g-1", kPuzzle), codes::kServerUnreachable},
        {200, Game("g-1", kPuzzle).substr(0, 30), kBad},
        {200, R"({"game_id": "g-1"})", kBad},
        {200, Game("", kPuzzle), kBad},
        {200, json{{"game_id", 1}, {"puzzle", kPuzzle}}.dump(), kBad},
        {200, Game("g-1", kPuzzle + 1), kBad},
        {200, Game("g-1", rulesBroken), kBad},
        {200, Game("g-1", std::string("x").append(kPuzzle + 1)), kBad},
    };
    for (const Case& c : cases) {
        server_.Answer(paths::kStart, c.status, c.body);
        EXPECT_EQ(StartResult(client_), c.result) << c.status << " " << c.body;
    }
    EXPECT_EQ(json::parse(server_.LastBody()), (json{{"user", "ada"}, {"password", "secret"}}));
}

TEST_F(LadderClientTest, FinishAndForfeitPassTheServersCodesThrough) {
    const Case finishes[] = {
        {200, R"({"seconds": 3725})", "3725"},
        {404, Error(ladder::codes::kNotLadder), ladder::codes::kNotLadder},
        {422, Error(ladder::codes::kNotCompleted), ladder::codes::kNotCompleted},
        {403, Error(ladder::codes::kNotEnabled), ladder::codes::kNotEnabled},
        {422, Error("ERRORE_SCONOSCIUTO"), kBad},
        {200, R"({"seconds": -1})", kBad},
        {200, R"({"seconds": 2.5})", kBad},
        {200, R"({"seconds": "3725"})", kBad},
    };
    for (const Case& c : finishes) {
        server_.Answer(paths::kFinish, c.status, c.body);
        EXPECT_EQ(FinishResult(), c.result) << c.status << " " << c.body;
    }
    const Case forfeits[] = {
        {200, "{}", ""},
        {404, Error(ladder::codes::kNotLadder), ladder::codes::kNotLadder},
        {422, Error(ladder::codes::kNotCompleted), kBad},
        {200, "OK", kBad},
    };
    for (const Case& c : forfeits) {
        server_.Answer(paths::kForfeit, c.status, c.body);
        EXPECT_EQ(client_.Forfeit("ada", "secret", "g-1"), c.result) << c.status << " " << c.body;
    }
    EXPECT_EQ(json::parse(server_.LastBody()),
              (json{{"user", "ada"}, {"password", "secret"}, {"game_id", "g-1"}}));
}

TEST_F(LadderClientTest, NoAnswerInTimeMeansTheServerCannotBeReached) {
    server_.Stall(paths::kStart);
    server_.Stall(paths::kVersion);
    LadderClient impatient(50);
    EXPECT_EQ(StartResult(impatient), codes::kServerUnreachable);
    EXPECT_FALSE(impatient.Release());

    testing_support::ClosedPort closed;
    ::setenv(ladder::kServerUrlVariable, closed.Url().c_str(), 1);
    EXPECT_EQ(StartResult(client_), codes::kServerUnreachable);
    EXPECT_EQ(client_.Forfeit("ada", "secret", "g-1"), codes::kServerUnreachable);
    EXPECT_FALSE(client_.Release());
}

TEST_F(LadderClientTest, ABusyLadderAndAFrontWithoutOneHaveCodesOfTheirOwn) {
    for (int status : {429, 503}) {
        server_.Answer(paths::kStart, status, "<html>Busy</html>");
        EXPECT_EQ(StartResult(client_), codes::kServerBusy) << status;
    }
    for (int status : {500, 502, 504}) {
        server_.Answer(paths::kFinish, status, Error(ladder::codes::kUnavailable));
        EXPECT_EQ(FinishResult(), codes::kServerUnreachable) << status;
    }
}

TEST(LadderClientReplies, AReplyThatIsNotTheProtocolWhateverItsShapeIsABadAnswer) {
    const std::string ok = "HTTP/1.1 200 OK\r\n";
    for (const std::string& reply : {
             std::string("hello, this is no HTTP\n"),
             std::string("HTTP/1.1 abc OK\r\n\r\n"),
             ok + "X-Large: " + std::string(300 * 1024, 'a') + "\r\n\r\n{}",
             ok + "Content-Length: 100\r\n\r\n{\"game_id\"",
             ok + "Transfer-Encoding: chunked\r\n\r\nzz\r\n",
             std::string(),
         }) {
        testing_support::RawReplyServer server(reply);
        auto started = LadderClient(2000).Start("ada", "secret");
        ASSERT_TRUE(std::holds_alternative<std::string>(started));
        EXPECT_EQ(std::get<std::string>(started), kBad) << reply.substr(0, 40);
    }
}

TEST_F(LadderClientTest, AnswersOverTheCapAndRedirectionsAreRefused) {
    const std::string large = Game(std::string(LadderClient::kMaxAnswerBytes, 'g'), kPuzzle);
    server_.Answer(paths::kStart, 200, large);
    EXPECT_EQ(StartResult(client_), kBad);
    server_.AnswerChunked(paths::kStart, large);  // no length announced
    EXPECT_EQ(StartResult(client_), kBad);
    server_.AnswerChunked(paths::kStart, Game(std::string(60 * 1024, 'g'), kPuzzle));
    EXPECT_EQ(StartResult(client_), "started");

    server_.Answer("/elsewhere", 200, Game("g-1", kPuzzle));
    server_.Redirect(paths::kStart, server_.Url() + "/elsewhere");
    EXPECT_EQ(StartResult(client_), kBad);
    EXPECT_EQ(server_.LastPath(), paths::kStart);
}

TEST_F(LadderClientTest, TheAddressIsReadAtEveryRequestAndMustBeHttp) {
    server_.Answer(paths::kStart, 200, Game("g-1", kPuzzle));
    ::setenv(ladder::kServerUrlVariable, (server_.Url() + "/").c_str(), 1);
    EXPECT_EQ(LadderServerUrl(), server_.Url());
    EXPECT_EQ(StartResult(client_), "started");
    for (const char* address :
         {"ftp://127.0.0.1/", "127.0.0.1:8642", "http://", "not an address"}) {
        ::setenv(ladder::kServerUrlVariable, address, 1);
        EXPECT_EQ(StartResult(client_), codes::kBadServerAddress) << address;
    }
    ::setenv(ladder::kServerUrlVariable, "", 1);
    EXPECT_EQ(LadderServerUrl(), ladder::kDefaultServerUrl);
    ::unsetenv(ladder::kServerUrlVariable);
    EXPECT_EQ(LadderServerUrl(), ladder::kDefaultServerUrl);
}

TEST_F(LadderClientTest, TextsThatAreNotUtf8AreNeverSent) {
    EXPECT_EQ(std::get<std::string>(client_.Start("ad\xe0", "secret")), codes::kTextNotUtf8);
    EXPECT_EQ(client_.Forfeit("ada", "secret", "\xff"), codes::kTextNotUtf8);
    EXPECT_EQ(server_.LastPath(), "");
}

}  // namespace
}  // namespace puzzle_engine
