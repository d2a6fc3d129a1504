#include <gtest/gtest.h>

#include <QSignalSpy>

#include "board/board_session.h"
#include "board/grid_text.h"
#include "tests/support/started_engine.h"
#include "tests/support/window_fixture.h"

namespace board {
namespace {

// The empty grid text with some characters put at their offsets.
QString GridTextWith(std::initializer_list<std::pair<int, char>> cells) {
    QString text = EmptyGridText();
    for (const auto& [offset, digit] : cells) {
        text[offset] = QLatin1Char(digit);
    }
    return text;
}

TEST(ParseGridText, ReadsEachCellAtItsOffsetAndLeavesCellsPastTheEndEmpty) {
    BoardCellTexts cells = ParseGridText(GridTextWith({{22, '7'}, {176, '9'}}));
    EXPECT_EQ(cells[1][1], QStringLiteral("7"));
    EXPECT_EQ(cells[8][8], QStringLiteral("9"));
    EXPECT_EQ(cells[0][0], QStringLiteral("0"));

    cells = ParseGridText(QStringLiteral("5 x"));
    EXPECT_EQ(cells[0][0], QStringLiteral("5"));
    EXPECT_EQ(cells[0][1], QStringLiteral("x"));  // not checked
    EXPECT_EQ(cells[0][2], QString());
    EXPECT_EQ(cells[8][8], QString());
}

// The session filled from grid texts the engine is made to return.
class GridTransfer : public ::testing::Test {
protected:
    void EngineReturns(const QString& gridText) {
        started_.recorder.SetOverride(
            [gridText](const std::string& member,
                       std::span<engine::Variant>) -> std::optional<engine::Variant> {
                if (member == "restituisci_stringa") {
                    return engine::Variant(gridText.toStdString());
                }
                return std::nullopt;
            });
    }

    testing_support::StartedEngine started_;
    BoardSession session_{started_.engine};
    QSignalSpy locks_{&session_, &BoardSession::locksChanged};
    QSignalSpy counter_{&session_, &BoardSession::missingCountShown};
};

TEST_F(GridTransfer, FilledCellsAreShownAndLockedInColumnOrderAndAnEmptyGridLocksNothing) {
    EngineReturns(EmptyGridText());
    session_.RefreshBoard(QStringLiteral("genera"));
    EXPECT_TRUE(session_.LocksOn());
    EXPECT_TRUE(session_.Locked().IsEmpty());
    ASSERT_EQ(locks_.size(), 1);
    EXPECT_TRUE(locks_.back().at(0).toBool());

    EngineReturns(GridTextWith({{22, '7'}}));
    session_.RefreshBoard(QStringLiteral("genera"));
    EXPECT_EQ(session_.CellText(1, 1), QStringLiteral("7"));
    EXPECT_EQ(session_.Locked().Text(), QStringLiteral("1,1;"));

    // Column 2 row 0, and column 0 row 5: column 0 comes first.
    session_.ClearBoard();
    EngineReturns(GridTextWith({{4, '3'}, {100, '8'}}));
    session_.RefreshBoard(QStringLiteral("file"));
    EXPECT_EQ(session_.Locked().Text(), QStringLiteral("0,5;2,0;"));
    EXPECT_EQ(session_.Locked().Count(), 2);
    EXPECT_EQ(session_.CellText(1, 1), QString());
}

TEST_F(GridTransfer, TheSolutionModeKeepsTheLocksAndZerosKeepTheirCells) {
    session_.FinishEditing(3, 0, QStringLiteral("2"));
    session_.FinishEditing(8, 8, QStringLiteral("6"));
    EngineReturns(GridTextWith({{22, '7'}}).left(20));  // only the first row
    session_.RefreshBoard(QStringLiteral("soluzione"));
    EXPECT_FALSE(session_.LocksOn());
    EXPECT_TRUE(locks_.empty());
    EXPECT_EQ(session_.CellText(3, 0), QStringLiteral("2"));
    EXPECT_EQ(session_.CellText(8, 8), QString());  // beyond the short text
    EXPECT_EQ(counter_.back().at(0).toString(), QStringLiteral("Miss.n.: 79"));  // the engine's
}

TEST_F(GridTransfer, TheLockLocksWhatIsFilledNowAndUnlocksEverything) {
    session_.FinishEditing(5, 2, QStringLiteral("9"));
    session_.ToggleLockSquares();
    EXPECT_EQ(session_.Locked().Text(), QStringLiteral("5,2;"));
    session_.ToggleLockSquares();
    EXPECT_FALSE(session_.LocksOn());
    EXPECT_TRUE(session_.Locked().IsEmpty());
    EXPECT_EQ(locks_.size(), 2);
}

using LockInTheWindow = testing_support::WindowTest;

TEST_F(LockInTheWindow, TheMenuItemAndTheToolButtonShowTheLockAndLockedCellsTakeNoTyping) {
    ShowReady();
    Enter(5, 5, u'9');
    ToolButton("ToolButton_lock").click();
    EXPECT_TRUE(MenuItem("Locksquares1").isChecked());
    EXPECT_TRUE(ToolButton("ToolButton_lock").isChecked());
    // The cell, locked while still selected, no longer takes typing.
    Type(QStringLiteral("1"));
    Press(Qt::Key_Return);
    EXPECT_EQ(Cell(5, 5), QStringLiteral("9"));

    MenuItem("Locksquares1").trigger();
    EXPECT_FALSE(MenuItem("Locksquares1").isChecked());
    EXPECT_FALSE(ToolButton("ToolButton_lock").isChecked());
}

}  // namespace
}  // namespace board
