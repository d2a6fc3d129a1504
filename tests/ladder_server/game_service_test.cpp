// The rules of a ladder game, on an in-memory store whose clock the test moves.

#include "ladder_server/service/game_service.h"

#include <gtest/gtest.h>

#include "ladder_server/store/sqlite/sqlite_store.h"
#include "tests/ladder_server/every_standing.h"
#include "tests/ladder_server/manual_clock.h"

namespace {

using testing_support::EveryStanding;

using ladder::GameAnswer;
using ladder::Refusal;

const std::string kPuzzle =
    "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
const std::string kSolution =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

sudoku::Grid Grid(const std::string& text) {
    return *sudoku::ParseLine(text);
}

ladder::LadderPuzzle FixedPuzzle() {
    return {ladder::LadderLevel::Medium, {Grid(kPuzzle), Grid(kSolution)}};
}

template <class T>
std::optional<Refusal> RefusalOf(const GameAnswer<T>& answer) {
    const auto* refusal = std::get_if<Refusal>(&answer);
    return refusal != nullptr ? std::optional(*refusal) : std::nullopt;
}

class GameServiceTest : public ::testing::Test {
protected:
    GameServiceTest() {
        accounts_.Add("alice", "secret", "", true);
        accounts_.Add("bob", "secret", "", true);
        accounts_.Add("carol", "secret", "", false);
    }

    std::string StartAlice() {
        auto answer = games_.Start("alice", "secret", "192.0.2.1");
        EXPECT_FALSE(RefusalOf(answer));
        return std::get<ladder::StartedGame>(answer).gameId;
    }

    ladder_testing::ManualClock clock_;
    ladder::SqliteStore store_{":memory:", clock_};
    ladder::AccountService accounts_{store_, clock_};
    ladder::GameService games_{store_, accounts_, FixedPuzzle};
};

TEST_F(GameServiceTest, StartRefusesEveryoneButEnabledUsersAlike) {
    EXPECT_EQ(RefusalOf(games_.Start("alice", "wrong", "192.0.2.1")), Refusal::NotEnabled);
    EXPECT_EQ(RefusalOf(games_.Start("carol", "secret", "192.0.2.1")), Refusal::NotEnabled);
    EXPECT_EQ(RefusalOf(games_.Start("dave", "secret", "192.0.2.1")), Refusal::NotEnabled);

    const auto answer = games_.Start("alice", "secret", "192.0.2.1");
    ASSERT_FALSE(RefusalOf(answer));
    const auto& started = std::get<ladder::StartedGame>(answer);
    EXPECT_EQ(started.puzzle, kPuzzle);
    EXPECT_EQ(started.gameId.size(), 32u);
    EXPECT_NE(StartAlice(), started.gameId);
    // Nobody's refusal left a game behind.
    EXPECT_EQ(EveryStanding(games_).size(), 1u);
}

TEST_F(GameServiceTest, AnAccountDisabledSinceTheStartCannotCloseItsGameButKeepsIt) {
    const std::string finished = StartAlice();
    const std::string forfeited = StartAlice();
    accounts_.SetEnabled("alice", false);
    EXPECT_EQ(RefusalOf(games_.Finish("alice", finished, Grid(kSolution))), Refusal::NotEnabled);
    EXPECT_EQ(RefusalOf(games_.Forfeit("alice", forfeited)), Refusal::NotEnabled);
    // Someone else's game or no game stays a game that is not there.
    EXPECT_EQ(RefusalOf(games_.Forfeit("bob", forfeited)), Refusal::NotLadder);

    accounts_.SetEnabled("alice", true);
    EXPECT_FALSE(RefusalOf(games_.Finish("alice", finished, Grid(kSolution))));
    EXPECT_FALSE(RefusalOf(games_.Forfeit("alice", forfeited)));
}

TEST_F(GameServiceTest, TheOfficialTimeIsWholeSecondsByTheStoresClock) {
    const std::string id = StartAlice();
    clock_.Advance(3'725'999);
    const auto answer = games_.Finish("alice", id, Grid(kSolution));
    ASSERT_FALSE(RefusalOf(answer));
    EXPECT_EQ(std::get<std::int64_t>(answer), 3725);

    const auto standings = EveryStanding(games_);
    ASSERT_EQ(standings.size(), 1u);
    EXPECT_EQ(standings[0].solved, 1);
    EXPECT_EQ(standings[0].bestSeconds, 3725);
}

TEST_F(GameServiceTest, AClockSetBackGivesNoNegativeTime) {
    const std::string id = StartAlice();
    clock_.Advance(-60'000);
    EXPECT_EQ(std::get<std::int64_t>(games_.Finish("alice", id, Grid(kSolution))), 0);
}

TEST_F(GameServiceTest, AWrongOrIncompleteGridFailsTheGameForGood) {
    std::string wrong = kSolution;
    std::swap(wrong[0], wrong[1]);  // still full, but two digits now clash
    std::string otherGrid = kSolution;
    // Another valid solved grid (digits 1 and 2 swapped everywhere) breaks the givens.
    for (char& c : otherGrid) {
        c = c == '1' ? '2' : c == '2' ? '1' : c;
    }
    ASSERT_TRUE(sudoku::IsSolved(Grid(otherGrid)));
    std::string incomplete = kSolution;
    incomplete[40] = '.';

    for (const std::string& grid : {wrong, otherGrid, incomplete, kPuzzle}) {
        SCOPED_TRACE(grid);
        const std::string id = StartAlice();
        EXPECT_EQ(RefusalOf(games_.Finish("alice", id, Grid(grid))), Refusal::NotCompleted);
        EXPECT_EQ(RefusalOf(games_.Finish("alice", id, Grid(kSolution))), Refusal::NotLadder);
    }
    EXPECT_EQ(EveryStanding(games_).at(0).solved, 0);
}

TEST_F(GameServiceTest, OnlyTheOwnerMayCloseAnOpenGameAndOnlyOnce) {
    const std::string id = StartAlice();
    EXPECT_EQ(RefusalOf(games_.Finish("bob", id, Grid(kSolution))), Refusal::NotLadder);
    EXPECT_EQ(RefusalOf(games_.Forfeit("bob", id)), Refusal::NotLadder);
    EXPECT_EQ(
        RefusalOf(games_.Finish("alice", "0123456789abcdef0123456789abcdef", Grid(kSolution))),
        Refusal::NotLadder);
    EXPECT_EQ(RefusalOf(games_.Finish("alice", id + "0", Grid(kSolution))), Refusal::NotLadder);

    EXPECT_FALSE(RefusalOf(games_.Finish("alice", id, Grid(kSolution))));
    EXPECT_EQ(RefusalOf(games_.Finish("alice", id, Grid(kSolution))), Refusal::NotLadder);
    EXPECT_EQ(RefusalOf(games_.Forfeit("alice", id)), Refusal::NotLadder);
}

TEST_F(GameServiceTest, AForfeitedGameCannotBeFinished) {
    const std::string id = StartAlice();
    EXPECT_FALSE(RefusalOf(games_.Forfeit("alice", id)));
    EXPECT_EQ(RefusalOf(games_.Forfeit("alice", id)), Refusal::NotLadder);
    EXPECT_EQ(RefusalOf(games_.Finish("alice", id, Grid(kSolution))), Refusal::NotLadder);
    const auto standings = EveryStanding(games_);
    ASSERT_EQ(standings.size(), 1u);
    EXPECT_EQ(standings[0].solved, 0);
    EXPECT_EQ(standings[0].bestSeconds, std::nullopt);
}

}  // namespace
