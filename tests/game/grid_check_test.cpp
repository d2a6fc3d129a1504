#include <gtest/gtest.h>

#include "board/grid_text.h"
#include "game/stopwatch.h"
#include "tests/support/window_fixture.h"

namespace {

using testing_support::ShownBox;

constexpr const char* kPuzzle =
    "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
constexpr const char* kSolution =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

class GridCheck : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ShowReady();
    }
    // Types digits into the board, the first count of them then locked with the lock button.
    void Put(std::string_view line, int lockedCount = 0) {
        int placed = 0;
        for (int i = 0; i < static_cast<int>(line.size()); ++i) {
            if (line[i] != '.') {
                Enter(i % 9, i / 9, QLatin1Char(line[i]));
                if (++placed == lockedCount) {
                    ToolButton("ToolButton_lock").click();
                }
            }
        }
    }
    QString CellAt(int i) { return Cell(i % 9, i / 9); }
    void StartStopwatch() { Find<game::Stopwatch>().Control(QStringLiteral("start")); }
};

TEST_F(GridCheck, APartialGridIsTestedForASolution) {
    Window().ConfirmGrid1Click();  // the empty board
    EXPECT_EQ(Boxes().shown.back(),
              (ShownBox{ShownBox::Kind::Information, QStringLiteral("The grid have a solution.")}));
    Put(kPuzzle);
    Put("..1");  // a digit that leaves no solution
    Window().ConfirmGrid1Click();
    EXPECT_EQ(
        Boxes().shown.back(),
        (ShownBox{ShownBox::Kind::Warning, QStringLiteral("The grid doesn't have a solution!")}));
}

TEST_F(GridCheck, AWrongFullGridIsAnErrorAndTheStopwatchRunsOn) {
    std::string wrong = kSolution;
    std::swap(wrong[0], wrong[1]);
    Put(wrong);
    StartStopwatch();
    Window().ConfirmGrid1Click();
    EXPECT_EQ(Boxes().shown.back(),
              (ShownBox{ShownBox::Kind::Error, QStringLiteral("The solution is incorrect!")}));
    EXPECT_TRUE(StopwatchRunning());
}

TEST_F(GridCheck, ASolvedGridStopsTheStopwatchBeforeTheCongratulation) {
    Put(kSolution);
    StartStopwatch();
    bool runningAtBox = true;
    Boxes().onShow = [&](const ShownBox&) { runningAtBox = StopwatchRunning(); };
    Window().ConfirmGrid1Click();
    EXPECT_EQ(Boxes().shown.back(),
              (ShownBox{ShownBox::Kind::Information, QStringLiteral("You have solved the grid!")}));
    EXPECT_FALSE(runningAtBox);
}

TEST_F(GridCheck, EmptyGridKeepsExactlyTheLockedCellsAndWritesThemBack) {
    Put(kPuzzle, 5);   // 5, 3, 7, 6, 1 locked
    Put("........4");  // a player's entry
    Boxes().AnswerNextConfirmations({true});
    Engine().ClearCalls();
    Window().EmptyGrid1Click();
    EXPECT_EQ(Boxes().Texts(), QStringList({"The unlocked cells will be clear, confirm?"}));
    EXPECT_EQ(CellWrites(), QStringList({"0,0,5", "1,0,6", "0,1,3", "1,3,1", "0,4,7"}));
    for (int i = 0; i < 81; ++i) {
        const bool locked = i == 0 || i == 1 || i == 4 || i == 9 || i == 12;
        EXPECT_EQ(CellAt(i).isEmpty(), !locked) << i;
    }
    EXPECT_EQ(Panel(app::StatusPanel::MissingCount), QStringLiteral("Miss.n.: 76"));
}

TEST_F(GridCheck, EmptyGridAnsweredNoChangesNothingButTheCounterIsAskedAgain) {
    Put(kPuzzle);
    const QString before = EngineGrid();
    Engine().ClearCalls();
    Window().EmptyGrid1Click();
    EXPECT_EQ(EngineGrid(), before);
    EXPECT_EQ(CellAt(0), QStringLiteral("5"));
    EXPECT_EQ(Engine().CallsTo("valori_soluzione").size(), 1u);
}

TEST_F(GridCheck, ShowSolutionNeedsFifteenValues) {
    Put("123456789456789");
    Window().Showsolution1Click();  // goes on to ask; answered No
    EXPECT_EQ(Boxes().Texts(), QStringList({"Do you want show the solution?"}));
    EXPECT_EQ(CellAt(0), QStringLiteral("1"));

    ClickCell(5, 1);  // the 15th value emptied
    Press(Qt::Key_Delete);
    Window().Showsolution1Click();
    EXPECT_EQ(
        Boxes().shown.back(),
        (ShownBox{ShownBox::Kind::Error, QStringLiteral("You need to insert at least 15 values")}));
}

TEST_F(GridCheck, ShowSolutionSolvesFromTheLockedCellsAlone) {
    Put(kPuzzle, 30);  // every given locked
    Put("..1");        // a wrong entry, dropped before solving
    StartStopwatch();
    Boxes().AnswerNextConfirmations({true});
    Boxes().shown.clear();
    Window().Showsolution1Click();
    // The wrong entry made the grid unsolvable, so the check refuses first.
    EXPECT_EQ(Boxes().Texts(), QStringList({"The grid doesn't have a solution!"}));

    Put("..4");
    Boxes().shown.clear();
    Window().Showsolution1Click();
    EXPECT_EQ(Boxes().Texts(), QStringList({"Do you want show the solution?"}));
    for (int i = 0; i < 81; ++i) {
        EXPECT_EQ(CellAt(i), QString(QLatin1Char(kSolution[i]))) << i;
    }
    EXPECT_FALSE(StopwatchRunning());
    EXPECT_TRUE(Locked(0, 0));
    EXPECT_FALSE(Locked(2, 0));
}

TEST_F(GridCheck, WithNothingLockedTheEngineSolvesAnEmptyGrid) {
    Put(std::string_view(kSolution).substr(0, 20));
    Boxes().AnswerNextConfirmations({true});
    Window().Showsolution1Click();
    for (int i = 0; i < 81; ++i) {
        EXPECT_FALSE(CellAt(i).isEmpty()) << i;
    }
    EXPECT_EQ(EngineGrid().count(u'0'), 0);
}

}  // namespace
