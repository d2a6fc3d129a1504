// The board session on its own, on the real engine: what it asks the engine for, and what it
// refuses while the game is paused.

#include <gtest/gtest.h>

#include "board/board_session.h"
#include "engine/engine_link.h"
#include "engine/puzzle_engine.h"
#include "tests/support/recording_engine.h"

namespace board {
namespace {

TEST(BoardSession, KnowsASolutionOnlyForMarkedMistakesOnALockedUniquePuzzleWhileAllowed) {
    testing_support::RecordingEngine recorder(testing_support::BuiltComponent());
    engine::EngineLink link(recorder.Factory());
    link.Start({"0", "2", "2000"});
    engine::PuzzleEngine engine(link);
    BoardSession session(engine);
    auto asked = [&] { return recorder.CallsTo("UniqueSolution").size(); };

    ASSERT_EQ(engine.Generate(50), QString());
    session.RefreshBoard(QStringLiteral("genera"));  // the givens locked
    session.AllowSolution(false);
    session.SetAids({.highlightHouses = true});
    EXPECT_EQ(asked(), 0u);
    session.SetAids({.markMistakes = true});
    EXPECT_EQ(asked(), 0u);  // an online game's solution stays the server's
    EXPECT_TRUE(session.View().Solution().isEmpty());
    session.AllowSolution(true);
    EXPECT_EQ(asked(), 1u);
    EXPECT_EQ(session.View().Solution().size(), 81);
    session.ToggleLockSquares();  // unlocked, the board is no puzzle
    EXPECT_TRUE(session.View().Solution().isEmpty());

    // A typed and locked grid with many solutions has none to mark mistakes by.
    session.ClearBoard();
    session.ToggleLockSquares();
    session.ToggleLockSquares();
    session.TypeDigit(0, 0, 5);
    session.ToggleLockSquares();
    EXPECT_TRUE(session.View().Solution().isEmpty());
    session.ToggleLockSquares();

    // Paused, nothing the player does changes the board, undo included.
    session.TypeDigit(1, 1, 3);
    session.SetPaused(true);
    session.TypeDigit(2, 2, 4);
    session.EraseCell(1, 1);
    session.ToggleNote(3, 3, 1);
    session.FillInAllNotes();
    session.Undo();
    EXPECT_EQ(session.CellText(1, 1), QStringLiteral("3"));
    EXPECT_EQ(session.CellText(2, 2), QString());
    EXPECT_EQ(session.CellNotes(3, 3), 0);
    EXPECT_TRUE(session.View().Marks()[CellIndex(1, 1)] == CellMarks{});
    session.SetPaused(false);
    session.Undo();
    EXPECT_EQ(session.CellText(1, 1), QString());
}

}  // namespace
}  // namespace board
