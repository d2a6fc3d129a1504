#include <gtest/gtest.h>

#include <QTest>

#include "board/board_grid.h"
#include "board/grid_text.h"
#include "tests/support/window_fixture.h"

namespace {

using testing_support::ShownBox;

class NewPuzzle : public testing_support::WindowTest {
protected:
    void ClickNewPuzzle() { ToolButton("ToolButton7").click(); }
};

TEST_F(NewPuzzle, OnAnEmptyBoardComesWithoutAQuestionWithItsGivensLockedAndTheClockRunning) {
    ShowReady();
    Engine().ClearCalls();
    ticks = 5000;
    ClickNewPuzzle();

    EXPECT_TRUE(Boxes().shown.empty());
    ASSERT_EQ(Engine().CallsTo("genera").size(), 1u);
    // A first start's settings give the level Easy.
    EXPECT_EQ(std::get<std::int32_t>(Engine().CallsTo("genera")[0].args[0]), 50);
    const int filled = FilledCells();
    EXPECT_GE(filled, 17);
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            const QString digit = EngineGrid().mid(20 * row + 2 * column, 1);
            EXPECT_EQ(Cell(column, row), digit == QLatin1String("0") ? QString() : digit);
            EXPECT_EQ(Locked(column, row), digit != QLatin1String("0"));
        }
    }
    EXPECT_TRUE(MenuItem("Locksquares1").isChecked());
    EXPECT_TRUE(ToolButton("ToolButton_lock").isChecked());
    EXPECT_EQ(Panel(app::StatusPanel::MissingCount),
              QStringLiteral("Miss.n.: %1").arg(81 - filled));
    EXPECT_FALSE(Splash().isVisible());
    EXPECT_TRUE(StopwatchRunning());
    ticks = 5000 + 61'000;  // counted from the click
    EXPECT_TRUE(testing_support::WaitFor(
        [&] { return Panel(app::StatusPanel::Time) == QStringLiteral("00 : 01 : 01"); }));
}

TEST_F(NewPuzzle, TheLevelChoosesTheNumberTheEngineGets) {
    ShowReady();
    const std::pair<const char*, int> levels[] = {{"Easy1", 50}, {"Medium1", 65}, {"Hard1", 81}};
    for (const auto& [level, number] : levels) {
        MenuItem(level).trigger();
        Boxes().AnswerNextConfirmations({true});
        Engine().ClearCalls();
        MenuItem("Puzzle1").trigger();
        ASSERT_EQ(Engine().CallsTo("genera").size(), 1u) << level;
        EXPECT_EQ(std::get<std::int32_t>(Engine().CallsTo("genera")[0].args[0]), number);
    }
}

TEST_F(NewPuzzle, ABoardWithADigitAsksFirstAndNoChangesNothing) {
    ShowReady();
    ClickNewPuzzle();
    const QString before = EngineGrid();
    Engine().ClearCalls();

    ClickNewPuzzle();
    ASSERT_EQ(Boxes().shown.size(), 1u);
    EXPECT_EQ(Boxes().shown[0],
              (ShownBox{ShownBox::Kind::Confirmation,
                        QStringLiteral("Do you want clear the grid and create a new puzzle?")}));
    EXPECT_EQ(EngineGrid(), before);
    EXPECT_TRUE(Engine().CallsTo("genera").empty());
    EXPECT_TRUE(Engine().CallsTo("azzera").empty());
    EXPECT_TRUE(StopwatchRunning());

    Boxes().AnswerNextConfirmations({true});
    ClickNewPuzzle();
    EXPECT_EQ(Engine().CallsTo("genera").size(), 1u);
    EXPECT_NE(EngineGrid(), before);
}

TEST_F(NewPuzzle, AFailedGenerationLeavesAnEmptyBoardAndTheStopwatchAlone) {
    ShowReady();
    ClickNewPuzzle();  // a first puzzle to lose
    Boxes().AnswerNextConfirmations({true});
    ticks = 777;

    bool splashShownDuringGeneration = false;
    Engine().SetOverride([&](const std::string& member,
                             std::span<engine::Variant>) -> std::optional<engine::Variant> {
        if (member != "genera") {
            return std::nullopt;
        }
        splashShownDuringGeneration =
            Splash().isVisible() && Splash().text() == QStringLiteral("Generating, please wait...");
        return engine::Variant(std::string("ERRORE_GENERAZIONE"));
    });
    ClickNewPuzzle();

    EXPECT_TRUE(splashShownDuringGeneration);
    EXPECT_FALSE(Splash().isVisible());
    EXPECT_EQ(FilledCells(), 0);
    EXPECT_EQ(EngineGrid(), board::EmptyGridText());
    EXPECT_EQ(Boxes().shown.back(),
              (ShownBox{ShownBox::Kind::Error, QStringLiteral("Unexpected Error Occured!")}));
    // The stopwatch of the lost puzzle runs on, counted from that puzzle's start.
    ticks = 61'000;
    EXPECT_TRUE(testing_support::WaitFor(
        [&] { return Panel(app::StatusPanel::Time) == QStringLiteral("00 : 01 : 01"); }));
}

}  // namespace
