#include <gtest/gtest.h>

#include <QTest>

#include "app/popup_menu.h"
#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "board/board_grid.h"
#include "tests/support/window_fixture.h"

namespace {

using testing_support::ShownBox;

class NewPuzzle : public testing_support::WindowTest {
protected:
    void ClickNewPuzzle() { Window().ToolBar->Button(QStringLiteral("ToolButton7"))->click(); }

    int FilledCells() {
        int filled = 0;
        for (int row = 0; row < 9; ++row) {
            for (int column = 0; column < 9; ++column) {
                filled += Window().StringGrid->CellText(column, row).isEmpty() ? 0 : 1;
            }
        }
        return filled;
    }
};

TEST_F(NewPuzzle, OnAnEmptyBoardComesWithoutAQuestionWithItsGivensLockedAndTheClockRunning) {
    TFsudoku_main& window = ShowReady();
    Engine().ClearCalls();
    ticks = 5000;
    ClickNewPuzzle();

    EXPECT_TRUE(Boxes().shown.empty());
    ASSERT_EQ(Engine().CallsTo("genera").size(), 1u);
    // A first start's settings give the level Easy.
    EXPECT_EQ(std::get<std::int32_t>(Engine().CallsTo("genera")[0].args[0]), 50);
    const int filled = FilledCells();
    EXPECT_GE(filled, 17);
    EXPECT_EQ(window.LockedCells.Count(), filled);
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            EXPECT_EQ(window.LockedCells.Contains(column, row),
                      !window.StringGrid->CellText(column, row).isEmpty());
            EXPECT_EQ(window.BoardCells[row][column], EngineGrid().mid(20 * row + 2 * column, 1));
        }
    }
    EXPECT_TRUE(window.SquaresLocked);
    EXPECT_TRUE(window.Menu->Item(QStringLiteral("Locksquares1"))->isChecked());
    EXPECT_TRUE(window.ToolBar->Action(QStringLiteral("ToolButton_lock"))->isChecked());
    EXPECT_EQ(window.StatusBar->PanelText(1), QStringLiteral("Miss.n.: %1").arg(81 - filled));
    EXPECT_FALSE(window.Splash_Panel->isVisible());
    EXPECT_TRUE(window.Cronometro->isActive());
    EXPECT_EQ(window.StopwatchStart, 5000u);
}

TEST_F(NewPuzzle, TheLevelChoosesTheNumberTheEngineGets) {
    TFsudoku_main& window = ShowReady();
    const std::pair<const char*, int> levels[] = {{"Easy", 50}, {"Medium", 65}, {"Hard", 81}};
    for (const auto& [level, number] : levels) {
        window.Level = QString::fromLatin1(level);
        Boxes().AnswerNextConfirmations({true});
        Engine().ClearCalls();
        window.Menu->Item(QStringLiteral("Puzzle1"))->trigger();
        ASSERT_EQ(Engine().CallsTo("genera").size(), 1u) << level;
        EXPECT_EQ(std::get<std::int32_t>(Engine().CallsTo("genera")[0].args[0]), number);
    }
}

TEST_F(NewPuzzle, ABoardWithADigitAsksFirstAndNoChangesNothing) {
    TFsudoku_main& window = ShowReady();
    window.Engine().CallText("scrivi_cella", {4, 4, std::string("7")});
    const QString before = EngineGrid();
    window.ControlStopwatch(QStringLiteral("start"));
    Engine().ClearCalls();

    ClickNewPuzzle();
    ASSERT_EQ(Boxes().shown.size(), 1u);
    EXPECT_EQ(Boxes().shown[0],
              (ShownBox{ShownBox::Kind::Confirmation,
                        QStringLiteral("Do you want clear the grid and create a new puzzle?")}));
    EXPECT_EQ(EngineGrid(), before);
    EXPECT_TRUE(Engine().CallsTo("genera").empty());
    EXPECT_TRUE(Engine().CallsTo("azzera").empty());
    EXPECT_TRUE(window.Cronometro->isActive());

    Boxes().AnswerNextConfirmations({true});
    ClickNewPuzzle();
    EXPECT_EQ(Engine().CallsTo("genera").size(), 1u);
    EXPECT_NE(EngineGrid(), before);
}

TEST_F(NewPuzzle, AFailedGenerationLeavesAnEmptyBoardAndTheStopwatchAlone) {
    TFsudoku_main& window = ShowReady();
    Boxes().AnswerNextConfirmations({true, true});
    ClickNewPuzzle();  // a first puzzle to lose
    window.ControlStopwatch(QString());
    ticks = 777;

    bool splashShownDuringGeneration = false;
    Engine().SetOverride([&](const std::string& member,
                             std::span<engine::Variant>) -> std::optional<engine::Variant> {
        if (member != "genera") {
            return std::nullopt;
        }
        splashShownDuringGeneration =
            window.Splash_Panel->isVisible() &&
            window.Splash_Panel->text() == QStringLiteral("Generating, please wait...");
        return engine::Variant(std::string("ERRORE_GENERAZIONE"));
    });
    ClickNewPuzzle();

    EXPECT_TRUE(splashShownDuringGeneration);
    EXPECT_FALSE(window.Splash_Panel->isVisible());
    EXPECT_EQ(FilledCells(), 0);
    EXPECT_EQ(EngineGrid(), window.EmptyGridText);
    EXPECT_EQ(Boxes().shown.back(),
              (ShownBox{ShownBox::Kind::Error, QStringLiteral("Unexpected Error Occured!")}));
    EXPECT_FALSE(window.Cronometro->isActive());
    EXPECT_NE(window.StopwatchStart, 777u);
}

}  // namespace
