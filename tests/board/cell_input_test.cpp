#include <gtest/gtest.h>

#include <QTest>

#include "tests/support/window_fixture.h"

namespace {

class CellInput : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ShowReady();
    }
    void Pen(const char* button) { ToolButton(button).click(); }
};

TEST_F(CellInput, EachKeyActsOnTheSelectedCellAtOnce) {
    ClickCell(2, 3);
    Engine().ClearCalls();
    Type(QStringLiteral("4"));
    EXPECT_EQ(Cell(2, 3), QStringLiteral("4"));
    EXPECT_EQ(CellWrites(), QStringList({"3,2,4"}));
    // A second digit replaces the first; the keypad's digits count too.
    QTest::keyClick(&Board(), Qt::Key_7, Qt::KeypadModifier);
    EXPECT_EQ(Cell(2, 3), QStringLiteral("7"));
    EXPECT_EQ(EngineGrid().mid(20 * 3 + 2 * 2, 1), QStringLiteral("7"));
    // Letters do nothing; 0, Space, Delete and Backspace each empty the cell.
    Type(QStringLiteral("a"));
    EXPECT_EQ(Cell(2, 3), QStringLiteral("7"));
    for (Qt::Key erase : {Qt::Key_0, Qt::Key_Space, Qt::Key_Delete, Qt::Key_Backspace}) {
        Type(QStringLiteral("5"));
        Engine().ClearCalls();
        Press(erase);
        EXPECT_EQ(Cell(2, 3), QString()) << erase;
        EXPECT_EQ(CellWrites(), QStringList({"3,2,0"})) << erase;
    }
    EXPECT_EQ(Panel(app::StatusPanel::MissingCount), QStringLiteral("Miss.n.: 81"));
}

TEST_F(CellInput, ADigitPenWritesEveryUnlockedCellClickedButNeverWhereTheArrowsGo) {
    Enter(7, 7, u'2');
    ToolButton("ToolButton_lock").click();
    Pen("ToolButton_6");
    Engine().ClearCalls();
    ClickCell(0, 1);
    ClickCell(3, 4);
    Press(Qt::Key_Right);  // the arrows only select
    Press(Qt::Key_Down);
    ClickCell(7, 7);
    EXPECT_EQ(CellWrites(), QStringList({"1,0,6", "4,3,6"}));
    EXPECT_EQ(Cell(4, 5), QString());
    EXPECT_EQ(Cell(7, 7), QStringLiteral("2"));
    // Every selection refreshed the counter from the engine.
    EXPECT_EQ(Engine().CallsTo("valori_soluzione").size(), 5u);
    EXPECT_EQ(Panel(app::StatusPanel::MissingCount), QStringLiteral("Miss.n.: 78"));
}

TEST_F(CellInput, TheEraserEmptiesEachUnlockedCellClickedAndPensReplaceEachOther) {
    Enter(1, 1, u'3');
    Pen("ToolButton_3");
    Pen("ToolButton_3");  // dropped again: a click writes nothing
    Pen("ToolButton_canc");
    EXPECT_TRUE(ToolButton("ToolButton_canc").isChecked());
    Engine().ClearCalls();
    ClickCell(1, 1);
    ClickCell(2, 2);
    EXPECT_EQ(Cell(1, 1), QString());
    EXPECT_EQ(CellWrites(), QStringList({"1,1,0", "2,2,0"}));

    Pen("ToolButton_canc");
    for (const char* pen : {"ToolButton_canc", "ToolButton_3"}) {
        EXPECT_FALSE(ToolButton(pen).isChecked()) << pen;
    }
    Engine().ClearCalls();
    ClickCell(5, 5);
    EXPECT_TRUE(CellWrites().isEmpty());
}

}  // namespace
