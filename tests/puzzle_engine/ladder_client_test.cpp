#include "puzzle_engine/ladder_client.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ladder_server/protocol.h"
#include "puzzle_engine/error_codes.h"
#include "tests/puzzle_engine/fake_ladder_server.h"

namespace puzzle_engine {
namespace {

using ladder::paths::kStart;
using nlohmann::json;

constexpr const char* kPuzzle =
    "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";

std::string StartCode(const LadderClient& client) {
    auto started = client.Start("ada", "secret");
    const auto* code = std::get_if<std::string>(&started);
    return code ? *code : "a game started";
}

class LadderClientTest : public ::testing::Test {
protected:
    testing_support::FakeLadderServer server_;
    LadderClient client_{2000};
};

TEST_F(LadderClientTest, SpeaksTheProtocolInJson) {
    server_.Answer(kStart, 200, json{{"game_id", "g-1"}, {"puzzle", kPuzzle}}.dump());
    auto started = client_.Start("ada", "secret");
    ASSERT_TRUE(std::holds_alternative<LadderGame>(started)) << std::get<std::string>(started);
    EXPECT_EQ(std::get<LadderGame>(started).gameId, "g-1");
    EXPECT_EQ(sudoku::FormatLine(std::get<LadderGame>(started).puzzle), kPuzzle);
    EXPECT_EQ(json::parse(server_.LastBody()), (json{{"user", "ada"}, {"password", "secret"}}));
    EXPECT_EQ(server_.LastContentType(), "application/json");

    server_.Answer(ladder::paths::kFinish, 200, R"({"seconds": 3725})");
    auto finished = client_.Finish("ada", "secret", "g-1", *sudoku::ParseLine(kPuzzle));
    EXPECT_EQ(std::get<std::uint64_t>(finished), 3725u);
    EXPECT_EQ(
        json::parse(server_.LastBody()),
        (json{{"user", "ada"}, {"password", "secret"}, {"game_id", "g-1"}, {"grid", kPuzzle}}));

    server_.Answer(ladder::paths::kForfeit, 200, "{}");
    EXPECT_EQ(client_.Forfeit("ada", "secret", "g-1"), "");
    EXPECT_EQ(server_.LastPath(), ladder::paths::kForfeit);

    server_.Answer(ladder::paths::kVersion, 200, R"({"version": "1.2.0", "download": "x"})");
    auto release = client_.Release();
    ASSERT_TRUE(release);
    EXPECT_EQ(release->version, "1.2.0");
    EXPECT_EQ(release->download, "x");
}

TEST_F(LadderClientTest, NoAnswerInTimeIsAnUnreachableServer) {
    server_.Stall(kStart);
    server_.Stall(ladder::paths::kVersion);
    LadderClient impatient(50);
    EXPECT_EQ(StartCode(impatient), codes::kServerUnreachable);
    EXPECT_FALSE(impatient.Release());

    testing_support::ClosedPort closed;
    ::setenv(ladder::kServerUrlVariable, closed.Url().c_str(), 1);
    EXPECT_EQ(StartCode(client_), codes::kServerUnreachable);
    EXPECT_EQ(client_.Forfeit("ada", "secret", "g-1"), codes::kServerUnreachable);
    EXPECT_FALSE(client_.Release());
}

TEST_F(LadderClientTest, AnswersTooLargeAreRefusedWithOrWithoutALength) {
    const std::string large = json{
        {"game_id", std::string(LadderClient::kMaxAnswerBytes, 'g')},
        {"puzzle", kPuzzle}}.dump();
    server_.Answer(kStart, 200, large);
    EXPECT_EQ(StartCode(client_), codes::kBadServerAnswer);
    server_.AnswerChunked(kStart, large);
    EXPECT_EQ(StartCode(client_), codes::kBadServerAnswer);
    // Just under the cap is taken.
    server_.AnswerChunked(
        kStart, json{{"game_id", std::string(60 * 1024, 'g')}, {"puzzle", kPuzzle}}.dump());
    EXPECT_EQ(StartCode(client_), "a game started");
}

TEST_F(LadderClientTest, RedirectionsAreNotFollowed) {
    server_.Answer("/elsewhere", 200, json{{"game_id", "g-1"}, {"puzzle", kPuzzle}}.dump());
    server_.Redirect(kStart, server_.Url() + "/elsewhere");
    EXPECT_EQ(StartCode(client_), codes::kBadServerAnswer);
    EXPECT_EQ(server_.LastPath(), kStart);
}

TEST_F(LadderClientTest, TheAddressIsReadAtEveryRequestAndMustBeHttp) {
    server_.Answer(kStart, 200, json{{"game_id", "g-1"}, {"puzzle", kPuzzle}}.dump());
    ::setenv(ladder::kServerUrlVariable, (server_.Url() + "/").c_str(), 1);
    EXPECT_EQ(LadderServerUrl(), server_.Url());
    EXPECT_EQ(StartCode(client_), "a game started");
    for (const char* address :
         {"ftp://127.0.0.1/", "127.0.0.1:8642", "http://", "not an address"}) {
        ::setenv(ladder::kServerUrlVariable, address, 1);
        EXPECT_EQ(StartCode(client_), codes::kBadServerAddress) << address;
    }
    ::setenv(ladder::kServerUrlVariable, "", 1);
    EXPECT_EQ(LadderServerUrl(), ladder::kDefaultServerUrl);
    ::unsetenv(ladder::kServerUrlVariable);
    EXPECT_EQ(LadderServerUrl(), ladder::kDefaultServerUrl);
}

TEST_F(LadderClientTest, TextsThatAreNotUtf8AreNeverSent) {
    server_.Answer(kStart, 200, json{{"game_id", "g-1"}, {"puzzle", kPuzzle}}.dump());
    EXPECT_EQ(std::get<std::string>(client_.Start("ad\xe0", "secret")), codes::kTextNotUtf8);
    EXPECT_EQ(client_.Forfeit("ada", "secret", "\xff"), codes::kTextNotUtf8);
    EXPECT_EQ(server_.LastPath(), "");
}

}  // namespace
}  // namespace puzzle_engine
