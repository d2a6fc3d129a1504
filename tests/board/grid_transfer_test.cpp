#include <gtest/gtest.h>

#include "app/popup_menu.h"
#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "board/board_grid.h"
#include "board/grid_text.h"
#include "tests/support/window_fixture.h"

namespace {

// The empty grid text with some characters put at their offsets.
QString GridTextWith(std::initializer_list<std::pair<int, char>> cells) {
    QString text = board::EmptyGridText();
    for (const auto& [offset, digit] : cells) {
        text[offset] = QLatin1Char(digit);
    }
    return text;
}

TEST(ParseGridText, ReadsEachCellAtItsOffsetAndLeavesCellsPastTheEndEmpty) {
    board::BoardCellTexts cells = board::ParseGridText(GridTextWith({{22, '7'}, {176, '9'}}));
    EXPECT_EQ(cells[1][1], QStringLiteral("7"));
    EXPECT_EQ(cells[8][8], QStringLiteral("9"));
    EXPECT_EQ(cells[0][0], QStringLiteral("0"));

    cells = board::ParseGridText(QStringLiteral("5 x"));
    EXPECT_EQ(cells[0][0], QStringLiteral("5"));
    EXPECT_EQ(cells[0][1], QStringLiteral("x"));  // not checked
    EXPECT_EQ(cells[0][2], QString());
    EXPECT_EQ(cells[8][8], QString());
}

// The board filled from grid texts the engine is made to return.
class GridTransfer : public testing_support::WindowTest {
protected:
    void EngineReturns(const QString& gridText) {
        Engine().SetOverride(
            [gridText](const std::string& member,
                       std::span<engine::Variant>) -> std::optional<engine::Variant> {
                if (member == "restituisci_stringa") {
                    return engine::Variant(gridText.toStdString());
                }
                return std::nullopt;
            });
    }
    bool LockShownOn() {
        return Window().Menu->Item(QStringLiteral("Locksquares1"))->isChecked() &&
               Window().ToolBar->Action(QStringLiteral("ToolButton_lock"))->isChecked();
    }
};

TEST_F(GridTransfer, AnEmptyGridLocksNothingButShowsTheLockOn) {
    TFsudoku_main& window = ShowReady();
    EngineReturns(window.EmptyGridText);
    window.RefreshBoard(QStringLiteral("genera"));
    EXPECT_TRUE(window.SquaresLocked);
    EXPECT_TRUE(LockShownOn());
    EXPECT_TRUE(window.LockedCells.IsEmpty());
    EXPECT_EQ(window.CurrentGridText, window.EmptyGridText);
    EXPECT_EQ(window.LastEngineResult, window.EmptyGridText);
}

TEST_F(GridTransfer, FilledCellsAreShownAndLockedInColumnOrder) {
    TFsudoku_main& window = ShowReady();
    EngineReturns(GridTextWith({{22, '7'}}));
    window.RefreshBoard(QStringLiteral("genera"));
    EXPECT_EQ(window.StringGrid->CellText(1, 1), QStringLiteral("7"));
    EXPECT_EQ(window.LockedCells.Text(), QStringLiteral("1,1;"));
    EXPECT_EQ(window.LockedCells.Count(), 1);

    // Column 2 row 0, and column 0 row 5: column 0 comes first.
    window.ClearBoard();
    EngineReturns(GridTextWith({{4, '3'}, {100, '8'}}));
    window.RefreshBoard(QStringLiteral("file"));
    EXPECT_EQ(window.LockedCells.Text(), QStringLiteral("0,5;2,0;"));
    EXPECT_EQ(window.LockedCells.Count(), 2);
}

TEST_F(GridTransfer, TheSolutionModeLeavesTheLocksAsTheyAre) {
    TFsudoku_main& window = ShowReady();
    EngineReturns(GridTextWith({{0, '4'}, {22, '7'}}));
    window.RefreshBoard(QStringLiteral("soluzione"));
    EXPECT_FALSE(window.SquaresLocked);
    EXPECT_TRUE(window.LockedCells.IsEmpty());
    EXPECT_EQ(window.StringGrid->CellText(0, 0), QStringLiteral("4"));
    EXPECT_EQ(window.StatusBar->PanelText(1), QStringLiteral("Miss.n.: 81"));  // the real engine
}

TEST_F(GridTransfer, ZerosLeaveCellsAsTheyAreAndAShortTextEmptiesThoseBeyondIt) {
    TFsudoku_main& window = ShowReady();
    window.StringGrid->SetCellText(3, 0, QStringLiteral("2"));
    window.StringGrid->SetCellText(8, 8, QStringLiteral("6"));
    EngineReturns(QStringLiteral("0 0 0 0 0 0 0 0 0 \r\n"));
    window.RefreshBoard(QStringLiteral("soluzione"));
    EXPECT_EQ(window.StringGrid->CellText(3, 0), QStringLiteral("2"));
    EXPECT_EQ(window.StringGrid->CellText(8, 8), QString());
}

TEST_F(GridTransfer, TheLockButtonLocksWhatIsFilledNowAndUnlocksEverything) {
    TFsudoku_main& window = ShowReady();
    window.StringGrid->SetCellText(5, 2, QStringLiteral("9"));
    window.ToolBar->Button(QStringLiteral("ToolButton_lock"))->click();
    EXPECT_EQ(window.LockedCells.Text(), QStringLiteral("5,2;"));
    EXPECT_TRUE(LockShownOn());

    window.Menu->Item(QStringLiteral("Locksquares1"))->trigger();
    EXPECT_FALSE(window.SquaresLocked);
    EXPECT_TRUE(window.LockedCells.IsEmpty());
    EXPECT_FALSE(window.Menu->Item(QStringLiteral("Locksquares1"))->isChecked());
    EXPECT_FALSE(window.ToolBar->Action(QStringLiteral("ToolButton_lock"))->isChecked());
}

}  // namespace
