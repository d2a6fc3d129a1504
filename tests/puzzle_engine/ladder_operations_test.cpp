#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <vector>

#include "ladder_server/protocol.h"
#include "puzzle_engine/engine_object.h"
#include "puzzle_engine/error_codes.h"
#include "puzzle_engine/version.h"
#include "tests/puzzle_engine/fake_ladder_server.h"

namespace puzzle_engine {
namespace {

using engine::DispatchError;
using engine::Variant;
using nlohmann::json;
namespace paths = ladder::paths;

constexpr const char* kPuzzle =
    "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";

// The four ladder operations called by name, as the program calls them, against a scripted
// server.
class LadderOperations : public ::testing::Test {
protected:
    std::string Text(std::string_view name, std::vector<Variant> args) {
        return std::get<std::string>(engine_.Invoke(name, args));
    }
    std::string Grid() {
        std::vector<Variant> none;
        return std::get<std::string>(engine_.Invoke("restituisci_stringa", none));
    }
    std::string Start() {
        return Text("IniziaGiocoLadder", {std::string("ada"), std::string("pw")});
    }
    std::string Finish() {
        return Text("ChiudiGiocoLadder",
                    {std::string("ada"), std::string("pw"), std::string("g-1")});
    }
    std::string Forfeit() {
        return Text("RinunciaGiocoLadder",
                    {std::string("ada"), std::string("pw"), std::string("g-1")});
    }
    std::string CheckVersion(std::string version, std::string download) {
        server_.Answer(paths::kVersion, 200,
                       json{{"version", version}, {"download", download}}.dump());
        return Text("VerificaVersione", {});
    }

    testing_support::FakeLadderServer server_;
    EngineObject engine_{StartOptions{7, 2, 2000}};
};

TEST_F(LadderOperations, CallsWithWrongArgumentsRaise) {
    const std::string t = "text";
    EXPECT_THROW(Text("IniziaGiocoLadder", {t}), DispatchError);
    EXPECT_THROW(Text("IniziaGiocoLadder", {t, 1}), DispatchError);
    EXPECT_THROW(Text("ChiudiGiocoLadder", {t, t}), DispatchError);
    EXPECT_THROW(Text("ChiudiGiocoLadder", {t, t, 1}), DispatchError);
    EXPECT_THROW(Text("RinunciaGiocoLadder", {t, Variant{}, t}), DispatchError);
    EXPECT_THROW(Text("VerificaVersione", {t, t}), DispatchError);
    EXPECT_EQ(server_.LastPath(), "");  // nothing was sent
}

TEST_F(LadderOperations, AStartedGamesPuzzleBecomesTheCurrentGrid) {
    server_.Answer(paths::kStart, 200, json{{"game_id", "g-1"}, {"puzzle", kPuzzle}}.dump());
    EXPECT_EQ(Start(), "g-1");
    EXPECT_EQ(Grid().substr(0, 20), "5 3 0 0 7 0 0 0 0 \r\n");
    EXPECT_EQ(Grid().substr(160), "0 0 0 0 8 0 0 7 9 \r\n");
}

TEST_F(LadderOperations, AFailedStartLeavesTheGridAlone) {
    const std::string before = Grid();
    const std::pair<int, json> refusals[] = {
        {403, {{"error", ladder::codes::kNotEnabled}}},
        {403, "forbidden"},
        {200, {{"game_id", "g-1"}}},
        {200, {{"game_id", ""}, {"puzzle", kPuzzle}}},
        {200, {{"game_id", 1}, {"puzzle", kPuzzle}}},
        {200, {{"game_id", "g-1"}, {"puzzle", std::string(kPuzzle).substr(1)}}},
        {200, {{"game_id", "g-1"}, {"puzzle", "55" + std::string(kPuzzle).substr(2)}}},
        {200, {{"game_id", "g-1"}, {"puzzle", "x" + std::string(kPuzzle).substr(1)}}},
        {500, {{"game_id", "g-1"}, {"puzzle", kPuzzle}}},
        {400, {{"error", ladder::codes::kBadRequest}}},
    };
    for (const auto& [status, body] : refusals) {
        server_.Answer(paths::kStart, status, body.dump());
        const char* expected = body.contains("error") && body["error"] == ladder::codes::kNotEnabled
                                   ? ladder::codes::kNotEnabled
                                   : codes::kBadServerAnswer;
        EXPECT_EQ(Start(), expected) << status << " " << body;
        EXPECT_EQ(Grid(), before);
    }
    server_.Answer(paths::kStart, 200, "{\"game_id\": \"g-1\", \"puzzle\": ");
    EXPECT_EQ(Start(), codes::kBadServerAnswer);
    testing_support::ClosedPort closed;
    ::setenv(ladder::kServerUrlVariable, closed.Url().c_str(), 1);
    EXPECT_EQ(Start(), codes::kServerUnreachable);
    EXPECT_EQ(Grid(), before);
}

TEST_F(LadderOperations, FinishingHandsInTheCurrentGridAndGivesWholeSeconds) {
    server_.Answer(paths::kStart, 200, json{{"game_id", "g-1"}, {"puzzle", kPuzzle}}.dump());
    ASSERT_EQ(Start(), "g-1");
    std::vector<Variant> cell = {0, 2, std::string("4")};
    engine_.Invoke("scrivi_cella", cell);

    server_.Answer(paths::kFinish, 200, R"({"seconds": 3725})");
    EXPECT_EQ(Finish(), "3725");
    std::string handedIn = kPuzzle;
    handedIn[2] = '4';
    EXPECT_EQ(json::parse(server_.LastBody())["grid"], handedIn);

    for (const char* code :
         {ladder::codes::kNotLadder, ladder::codes::kNotCompleted, ladder::codes::kNotEnabled}) {
        server_.Answer(paths::kFinish, 422, json{{"error", code}}.dump());
        EXPECT_EQ(Finish(), code);
    }
    for (const char* seconds : {"-1", "2.5", "\"3725\"", "null"}) {
        server_.Answer(paths::kFinish, 200, std::string(R"({"seconds": )") + seconds + "}");
        EXPECT_EQ(Finish(), codes::kBadServerAnswer) << seconds;
    }
    server_.Answer(paths::kFinish, 422, json{{"error", "ERRORE_SCONOSCIUTO"}}.dump());
    EXPECT_EQ(Finish(), codes::kBadServerAnswer);
}

TEST_F(LadderOperations, AForfeitGivesNothingOrTheServersCode) {
    server_.Answer(paths::kForfeit, 200, "{}");
    EXPECT_EQ(Forfeit(), "");
    server_.Answer(paths::kForfeit, 404, json{{"error", ladder::codes::kNotLadder}}.dump());
    EXPECT_EQ(Forfeit(), ladder::codes::kNotLadder);
    server_.Answer(paths::kForfeit, 404, json{{"error", ladder::codes::kNotCompleted}}.dump());
    EXPECT_EQ(Forfeit(), codes::kBadServerAnswer);  // not a code a forfeit can get
    server_.Answer(paths::kForfeit, 200, "OK");
    EXPECT_EQ(Forfeit(), codes::kBadServerAnswer);
}

TEST_F(LadderOperations, TheVersionCheckGivesAWebAddressOnlyForANewerVersion) {
    const std::string download = "https://example.org/quillmark";
    EXPECT_EQ(CheckVersion("999.0.0", download), download);
    EXPECT_EQ(Text("VerificaVersione", {std::string("ignored")}), download);
    EXPECT_EQ(CheckVersion(kVersion, download), "");
    EXPECT_EQ(CheckVersion("0.0.1", download), "");
    EXPECT_EQ(CheckVersion("", ""), "");
    EXPECT_EQ(CheckVersion("999.0.0", "file:///tmp/x"), "");
    EXPECT_EQ(CheckVersion("999.0.0", "example.org"), "");
    server_.Answer(paths::kVersion, 200, "999.0.0 at https://example.org");
    EXPECT_EQ(Text("VerificaVersione", {}), "");
    server_.Answer(paths::kVersion, 500,
                   json{{"version", "999.0.0"}, {"download", download}}.dump());
    EXPECT_EQ(Text("VerificaVersione", {}), "");
    testing_support::ClosedPort closed;
    ::setenv(ladder::kServerUrlVariable, closed.Url().c_str(), 1);
    EXPECT_EQ(Text("VerificaVersione", {}), "");
}

}  // namespace
}  // namespace puzzle_engine
