#include <gtest/gtest.h>

#include <QTest>

#include "tests/support/window_fixture.h"

namespace {

class CellInput : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ShowReady();
        Board().setFocus();
    }
    void Pen(const char* button) { ToolButton(button).click(); }
};

TEST_F(CellInput, TypingKeepsTheFirstDigitAndRefusesZeroAndLetters) {
    ClickCell(2, 3);
    Engine().ClearCalls();
    Type(QStringLiteral("0a "));
    EXPECT_EQ(Cell(2, 3), QString());
    EXPECT_TRUE(CellWrites().isEmpty());

    Type(QStringLiteral("45"));
    ClickCell(6, 6);
    EXPECT_EQ(Cell(2, 3), QStringLiteral("4"));
    EXPECT_EQ(CellWrites(), QStringList({"3,2,4"}));
    EXPECT_EQ(EngineGrid().mid(20 * 3 + 2 * 2, 1), QStringLiteral("4"));
}

TEST_F(CellInput, ErasingATypedDigitSendsTheClearForm) {
    ClickCell(0, 0);
    Type(QStringLiteral("8"));
    ClickCell(4, 4);
    Engine().ClearCalls();
    ClickCell(0, 0);
    Press(Qt::Key_Backspace);  // opens the editor on the cell's text and deletes the digit
    ClickCell(4, 4);
    EXPECT_EQ(Cell(0, 0), QString());
    EXPECT_TRUE(CellWrites().contains(QStringLiteral("0,0,0")));
    EXPECT_EQ(EngineGrid().left(1), QStringLiteral("0"));

    // Delete does the same.
    Type(QStringLiteral("2"));
    Press(Qt::Key_Return);
    ASSERT_EQ(Cell(4, 4), QStringLiteral("2"));
    Press(Qt::Key_Delete);
    Press(Qt::Key_Return);
    EXPECT_EQ(Cell(4, 4), QString());
    EXPECT_EQ(CellWrites().last(), QStringLiteral("4,4,0"));
}

TEST_F(CellInput, ADigitPenWritesEveryUnlockedCellSelectedAndNoLockedOne) {
    Enter(7, 7, u'2');
    ToolButton("ToolButton_lock").click();
    Pen("ToolButton_6");
    Engine().ClearCalls();
    ClickCell(0, 1);
    ClickCell(3, 4);
    Press(Qt::Key_Right);  // the arrow keys select too
    ClickCell(7, 7);
    EXPECT_EQ(CellWrites(), QStringList({"1,0,6", "4,3,6", "4,4,6"}));
    EXPECT_EQ(Cell(4, 4), QStringLiteral("6"));
    EXPECT_EQ(Cell(7, 7), QStringLiteral("2"));

    // The locked cell opens no editor: typing leaves it as it is.
    Type(QStringLiteral("5"));
    Press(Qt::Key_Return);
    EXPECT_EQ(Cell(7, 7), QStringLiteral("2"));
    // Every selection refreshed the counter from the engine.
    EXPECT_EQ(Engine().CallsTo("valori_soluzione").size(), 4u);
    EXPECT_EQ(Panel(app::StatusPanel::MissingCount), QStringLiteral("Miss.n.: 77"));
}

TEST_F(CellInput, TheEraserEmptiesEachUnlockedCellSelectedAndPensReplaceEachOther) {
    ClickCell(1, 1);
    Type(QStringLiteral("3"));
    Pen("ToolButton_3");
    Pen("ToolButton_3");  // dropped again: a click writes nothing
    Pen("ToolButton_canc");
    EXPECT_TRUE(ToolButton("ToolButton_canc").isChecked());
    Engine().ClearCalls();
    ClickCell(1, 1);
    ClickCell(2, 2);
    EXPECT_EQ(Cell(1, 1), QString());
    EXPECT_EQ(CellWrites(), QStringList({"1,1,3", "1,1,0", "2,2,0"}));

    Pen("ToolButton_canc");
    for (const char* pen : {"ToolButton_canc", "ToolButton_3"}) {
        EXPECT_FALSE(ToolButton(pen).isChecked()) << pen;
    }
    Engine().ClearCalls();
    ClickCell(5, 5);
    EXPECT_TRUE(CellWrites().isEmpty());
}

}  // namespace
