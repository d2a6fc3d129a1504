#include <gtest/gtest.h>

#include "board/board_session.h"
#include "board/grid_text.h"
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

// The board filled from grid texts the engine is made to return.
class GridTransfer : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ShowReady();
    }
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
    BoardSession& Session() { return Find<BoardSession>(); }
};

TEST_F(GridTransfer, FilledCellsAreShownAndLockedInColumnOrderAndAnEmptyGridLocksNothing) {
    EngineReturns(EmptyGridText());
    Session().RefreshBoard(QStringLiteral("genera"));
    EXPECT_TRUE(MenuItem("Locksquares1").isChecked());
    EXPECT_TRUE(Session().Locked().IsEmpty());

    EngineReturns(GridTextWith({{22, '7'}}));
    Session().RefreshBoard(QStringLiteral("genera"));
    EXPECT_EQ(Cell(1, 1), QStringLiteral("7"));
    EXPECT_EQ(Session().Locked().Text(), QStringLiteral("1,1;"));

    // Column 2 row 0, and column 0 row 5: column 0 comes first.
    Session().ClearBoard();
    EngineReturns(GridTextWith({{4, '3'}, {100, '8'}}));
    Session().RefreshBoard(QStringLiteral("file"));
    EXPECT_EQ(Session().Locked().Text(), QStringLiteral("0,5;2,0;"));
    EXPECT_EQ(Session().Locked().Count(), 2);
    EXPECT_EQ(Cell(1, 1), QString());
}

TEST_F(GridTransfer, TheSolutionModeKeepsTheLocksAndZerosKeepTheirCells) {
    Enter(3, 0, u'2');
    Enter(8, 8, u'6');
    EngineReturns(GridTextWith({{22, '7'}}).left(20));  // only the first row
    Session().RefreshBoard(QStringLiteral("soluzione"));
    EXPECT_FALSE(MenuItem("Locksquares1").isChecked());
    EXPECT_FALSE(Session().LocksOn());
    EXPECT_EQ(Cell(3, 0), QStringLiteral("2"));
    EXPECT_EQ(Cell(8, 8), QString());  // beyond the short text
    EXPECT_EQ(Panel(app::StatusPanel::MissingCount),
              QStringLiteral("Miss.n.: 79"));  // the engine's
}

using LockInTheWindow = testing_support::WindowTest;

TEST_F(LockInTheWindow, TheMenuItemAndTheToolButtonShowTheLockAndLockedCellsTakeNoTyping) {
    ShowReady();
    Enter(5, 5, u'9');
    ToolButton("ToolButton_lock").click();
    EXPECT_TRUE(MenuItem("Locksquares1").isChecked());
    EXPECT_TRUE(ToolButton("ToolButton_lock").isChecked());
    // The cell, locked while still selected, no longer takes a digit or an erase.
    Type(QStringLiteral("1"));
    Press(Qt::Key_Delete);
    EXPECT_EQ(Cell(5, 5), QStringLiteral("9"));

    MenuItem("Locksquares1").trigger();
    EXPECT_FALSE(MenuItem("Locksquares1").isChecked());
    EXPECT_FALSE(ToolButton("ToolButton_lock").isChecked());
}

}  // namespace
}  // namespace board
