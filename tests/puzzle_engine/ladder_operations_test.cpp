#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <vector>

#include "ladder_protocol/protocol.h"
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
// server. What the server's answers come to is ladder_client_test's concern.
class LadderOperations : public ::testing::Test {
protected:
    std::string Text(std::string_view name, std::vector<Variant> args = {}) {
        return std::get<std::string>(engine_.Invoke(name, args));
    }
    std::string Start() { return Text("IniziaGiocoLadder", {t_, t_}); }
    std::string CheckVersion(const std::string& version, const std::string& download) {
        server_.Answer(paths::kVersion, 200,
                       json{{"version", version}, {"download", download}}.dump());
        return Text("VerificaVersione");
    }

    const std::string t_ = "text";
    testing_support::FakeLadderServer server_;
    EngineObject engine_{StartOptions{7, 2, 2000}};
};

TEST_F(LadderOperations, CallsWithWrongArgumentsRaiseAndSendNothing) {
    EXPECT_THROW(Text("IniziaGiocoLadder", {t_}), DispatchError);
    EXPECT_THROW(Text("IniziaGiocoLadder", {t_, 1}), DispatchError);
    EXPECT_THROW(Text("ChiudiGiocoLadder", {t_, t_}), DispatchError);
    EXPECT_THROW(Text("ChiudiGiocoLadder", {t_, t_, 1}), DispatchError);
    EXPECT_THROW(Text("RinunciaGiocoLadder", {t_, Variant{}, t_}), DispatchError);
    EXPECT_THROW(Text("VerificaVersione", {t_, t_}), DispatchError);
    EXPECT_EQ(server_.LastPath(), "");
}

TEST_F(LadderOperations, AStartedGamesPuzzleBecomesTheGridAndAFailedStartChangesNothing) {
    server_.Answer(paths::kStart, 200, json{{"game_id", "g-1"}, {"puzzle", kPuzzle}}.dump());
    EXPECT_EQ(Start(), "g-1");
    const std::string held = Text("restituisci_stringa");
    EXPECT_EQ(held.substr(0, 20), "5 3 0 0 7 0 0 0 0 \r\n");
    EXPECT_EQ(held.substr(160), "0 0 0 0 8 0 0 7 9 \r\n");

    server_.Answer(paths::kStart, 403, json{{"error", ladder::codes::kNotEnabled}}.dump());
    EXPECT_EQ(Start(), ladder::codes::kNotEnabled);
    server_.Answer(paths::kStart, 200, json{{"game_id", "g-2"}, {"puzzle", "..."}}.dump());
    EXPECT_EQ(Start(), codes::kBadServerAnswer);
    testing_support::ClosedPort closed;
    ::setenv(ladder::kServerUrlVariable, closed.Url().c_str(), 1);
    EXPECT_EQ(Start(), codes::kServerUnreachable);
    EXPECT_EQ(Text("restituisci_stringa"), held);
}

TEST_F(LadderOperations, FinishingHandsInTheCurrentGridAndGivesDecimalSeconds) {
    std::vector<Variant> cell = {0, 2, std::string("4")};
    engine_.Invoke("scrivi_cella", cell);
    server_.Answer(paths::kFinish, 200, R"({"seconds": 3725})");
    EXPECT_EQ(Text("ChiudiGiocoLadder", {t_, t_, std::string("g-1")}), "3725");
    std::string handedIn(81, '.');
    handedIn[2] = '4';
    EXPECT_EQ(json::parse(server_.LastBody())["grid"], handedIn);
    server_.Answer(paths::kFinish, 404, json{{"error", ladder::codes::kNotLadder}}.dump());
    EXPECT_EQ(Text("ChiudiGiocoLadder", {t_, t_, t_}), ladder::codes::kNotLadder);

    server_.Answer(paths::kForfeit, 200, "{}");
    EXPECT_EQ(Text("RinunciaGiocoLadder", {t_, t_, std::string("g-1")}), "");
    EXPECT_EQ(json::parse(server_.LastBody())["game_id"], "g-1");
}

TEST_F(LadderOperations, TheVersionCheckGivesAWebAddressOnlyForANewerVersion) {
    const std::string download = "https://example.org/quillmark";
    EXPECT_EQ(CheckVersion("999.0.0", download), download);
    EXPECT_EQ(Text("VerificaVersione", {std::string("ignored")}), download);
    EXPECT_EQ(CheckVersion(kVersion, download), "");
    EXPECT_EQ(CheckVersion("0.0.1", download), "");
    EXPECT_EQ(CheckVersion("", ""), "");  // the operator has set nothing
    EXPECT_EQ(CheckVersion("999.0.0", "file:///tmp/x"), "");
    server_.Answer(paths::kVersion, 200, "999.0.0 at https://example.org");
    EXPECT_EQ(Text("VerificaVersione"), "");
    server_.Answer(paths::kVersion, 500,
                   json{{"version", "999.0.0"}, {"download", download}}.dump());
    EXPECT_EQ(Text("VerificaVersione"), "");
    testing_support::ClosedPort closed;
    ::setenv(ladder::kServerUrlVariable, closed.Url().c_str(), 1);
    EXPECT_EQ(Text("VerificaVersione"), "");
}

}  // namespace
}  // namespace puzzle_engine
