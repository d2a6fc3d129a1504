// The engine's ladder operations against the real quillmark-ladderd, started for each test
// on a fresh database.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "ladder_protocol/protocol.h"
#include "puzzle_engine/engine_object.h"
#include "puzzle_engine/error_codes.h"
#include "puzzle_engine/version.h"
#include "sudoku/solver.h"
#include "tests/support/ladder_server_process.h"

namespace puzzle_engine {
namespace {

using engine::Variant;
using ladder::codes::kNotCompleted;
using ladder::codes::kNotEnabled;
using ladder::codes::kNotLadder;

class LadderEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        server_.AddUser("ada", "secret");
        ::setenv(ladder::kServerUrlVariable, server_.Url().c_str(), 1);
    }
    void TearDown() override { ::unsetenv(ladder::kServerUrlVariable); }

    std::string Call(std::string_view name, std::vector<Variant> args = {}) {
        return std::get<std::string>(engine_.Invoke(name, args));
    }
    std::string Start(const std::string& user = "ada", const std::string& password = "secret") {
        return Call("IniziaGiocoLadder", {user, password});
    }
    std::string Finish(const std::string& gameId) {
        return Call("ChiudiGiocoLadder", {std::string("ada"), std::string("secret"), gameId});
    }
    std::string Forfeit(const std::string& gameId) {
        return Call("RinunciaGiocoLadder", {std::string("ada"), std::string("secret"), gameId});
    }
    // The current grid, read back through the grid text.
    sudoku::Grid Grid() {
        const std::string text = Call("restituisci_stringa");
        sudoku::Grid grid;
        for (int cell = 0; cell < sudoku::kCellCount; ++cell) {
            grid.cells[cell] = static_cast<std::uint8_t>(text[cell / 9 * 20 + cell % 9 * 2] - '0');
        }
        return grid;
    }

    testing_support::LadderServerProcess server_;
    // A generous limit: under the sanitizers the server answers slowly.
    EngineObject engine_{StartOptions{1, 2, 20000}};
};

TEST_F(LadderEndToEnd, AnEnabledAccountGetsAGameWhosePuzzleBecomesTheGrid) {
    const std::string first = Start();
    ASSERT_FALSE(first.empty());
    EXPECT_FALSE(first.starts_with("ERROR")) << first;
    const sudoku::Grid puzzle = Grid();
    EXPECT_TRUE(sudoku::HasUniqueSolution(puzzle));
    EXPECT_LT(sudoku::FilledCount(puzzle), sudoku::kCellCount);

    const std::string second = Start();
    EXPECT_NE(second, first);
    EXPECT_FALSE(second.starts_with("ERROR")) << second;
}

TEST_F(LadderEndToEnd, OnlyAnEnabledAccountWithItsPasswordMayPlay) {
    Call("azzera");
    server_.AddUser("bob", "secret", /*enabled=*/false);
    EXPECT_EQ(Start("bob", "secret"), kNotEnabled);
    EXPECT_EQ(Start("eve", "secret"), kNotEnabled);
    EXPECT_EQ(Start("ada", "wrong"), kNotEnabled);
    server_.DisableUser("ada");
    EXPECT_EQ(Start("ada", "secret"), kNotEnabled);
    EXPECT_EQ(sudoku::FilledCount(Grid()), 0);  // no puzzle came
}

TEST_F(LadderEndToEnd, TheSolvedGridGivesTheOfficialTimeOnce) {
    const std::string id = Start();
    ASSERT_EQ(server_.MoveGameStartBack(id, 3725), 1);
    ASSERT_EQ(Call("risolvi"), "1");
    const std::string seconds = Finish(id);
    ASSERT_FALSE(seconds.empty());
    ASSERT_TRUE(std::all_of(seconds.begin(), seconds.end(), [](char c) {
        return c >= '0' && c <= '9';
    })) << seconds;
    EXPECT_GE(std::stoll(seconds), 3725);
    EXPECT_EQ(Finish(id), kNotLadder);
}

TEST_F(LadderEndToEnd, AWrongGridClosesTheGameAndAForfeitedGameCannotBeFinished) {
    const std::string wrong = Start();
    EXPECT_EQ(Finish(wrong), kNotCompleted);  // the puzzle as it came, unsolved
    EXPECT_EQ(Finish(wrong), kNotLadder);

    const std::string forfeited = Start();
    EXPECT_EQ(Forfeit(forfeited), "");
    ASSERT_EQ(Call("risolvi"), "1");
    EXPECT_EQ(Finish(forfeited), kNotLadder);
    EXPECT_EQ(Forfeit(forfeited), kNotLadder);
}

TEST_F(LadderEndToEnd, TheVersionCheckFollowsTheOperatorAndAStoppedServer) {
    EXPECT_EQ(Call("VerificaVersione"), "");  // nothing set yet
    const std::string download = "https://example.org/quillmark";
    server_.SetVersion("999.0.0", download);
    EXPECT_EQ(Call("VerificaVersione"), download);
    server_.SetVersion(kVersion, download);
    EXPECT_EQ(Call("VerificaVersione"), "");
    server_.SetVersion("0.9.0", download);
    EXPECT_EQ(Call("VerificaVersione"), "");

    server_.Stop();
    EXPECT_EQ(Call("VerificaVersione"), "");
    EXPECT_EQ(Start(), codes::kServerUnreachable);
}

}  // namespace
}  // namespace puzzle_engine
