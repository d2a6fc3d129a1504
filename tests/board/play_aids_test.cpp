// Undo and redo, pencil notes, conflict marks and the play aids, on the real window and engine.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

#include "appearance/color_from_hex.h"
#include "appearance/skin_colors.h"
#include "board/hint_text.h"

#include "board/cell_layout.h"
#include "board/conflicts.h"
#include "tests/support/window_fixture.h"

namespace board {
namespace {

using app::StatusPanel;

TEST(FindConflicts, MarksEveryCellOfADigitRepeatedInItsRowColumnOrBox) {
    BoardCellTexts cells;
    cells[0][0] = cells[0][8] = QStringLiteral("5");  // a row
    cells[3][4] = cells[8][4] = QStringLiteral("7");  // a column
    cells[6][6] = cells[8][8] = QStringLiteral("2");  // a box
    cells[1][1] = cells[2][5] = QStringLiteral("3");  // none of them
    const ConflictMap marked = FindConflicts(cells);
    QList<QPoint> found;
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            if (marked[row][column]) {
                found << QPoint(column, row);
            }
        }
    }
    EXPECT_EQ(found, QList<QPoint>({{0, 0}, {8, 0}, {4, 3}, {6, 6}, {4, 8}, {8, 8}}));
}

class PlayAids : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ShowReady();
    }
    QString Description(int column, int row) {
        return Board().item(row, column)->data(Qt::AccessibleDescriptionRole).toString();
    }
    // The colour most of a cell's digit is painted in, inside its rim and any focus frame, as
    // the window last painted it: a cell the board leaves out of a repaint keeps its old look.
    QColor Ink(int column, int row) {
        QTest::qWait(20);
        const QPoint origin = Board().mapTo(&Window(), QPoint(0, 0));
        const QImage board = Window()
                                 .screen()
                                 ->grabWindow(Window().winId(), origin.x(), origin.y(),
                                              Board().width(), Board().height())
                                 .toImage();
        const QRect cell = CellRect(column, row).translated(1, 1).adjusted(5, 5, -5, -5);
        const QColor fill = board.pixelColor(cell.topLeft());
        QHash<QRgb, int> counts;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QRgb pixel = board.pixel(x, y);
                counts[pixel] += pixel == fill.rgb() ? 0 : 1;
            }
        }
        QRgb most = fill.rgb();
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            most = it.value() > counts.value(most) ? it.key() : most;
        }
        return QColor(most);
    }
};

TEST_F(PlayAids, EveryChangeIsUndoneToTheStartAndRedoneToTheEndWithTheEngineFollowing) {
    ToolButton("ToolButton7").click();
    QList<QPoint> empty;
    for (int i = 0; i < 81 && empty.size() < 3; ++i) {
        if (Cell(i % 9, i / 9).isEmpty()) {
            empty << QPoint(i % 9, i / 9);
        }
    }
    const QString givens = EngineGrid();
    QStringList states{givens};
    QStringList counters{Panel(StatusPanel::MissingCount)};
    auto done = [&] {
        states << EngineGrid();
        counters << Panel(StatusPanel::MissingCount);
    };
    Enter(empty[0].x(), empty[0].y(), u'5');
    done();
    ToolButton("ToolButton_7").click();
    ClickCell(empty[1].x(), empty[1].y());  // the pen
    ToolButton("ToolButton_7").click();
    done();
    Enter(empty[2].x(), empty[2].y(), u'1');
    done();
    ClickCell(empty[0].x(), empty[0].y());
    Press(Qt::Key_Delete);
    done();
    Boxes().AnswerNextConfirmations({true});
    Window().EmptyGrid1Click();  // one action, however many cells it empties
    done();
    Boxes().AnswerNextConfirmations({true});
    Window().Showsolution1Click();
    done();
    ASSERT_EQ(states.size(), 7);
    EXPECT_EQ(states.last().count(u'0'), 0);

    // Back to the start, one press an action, and no further; the givens never change.
    for (int step = 6; step >= 0; --step) {
        EXPECT_EQ(EngineGrid(), states[step]) << step;
        EXPECT_EQ(Panel(StatusPanel::MissingCount), counters[step]) << step;
        Press(Qt::Key_Z, Qt::ControlModifier);
    }
    EXPECT_EQ(EngineGrid(), givens);
    for (int i = 0; i < 81; ++i) {
        EXPECT_EQ(Locked(i % 9, i / 9), givens[GridTextOffset(i % 9, i / 9)] != u'0') << i;
    }
    // And forward again to the end, with either key.
    for (int step = 1; step <= 6; ++step) {
        step % 2 ? Press(Qt::Key_Y, Qt::ControlModifier)
                 : Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(EngineGrid(), states[step]) << step;
        EXPECT_EQ(Panel(StatusPanel::MissingCount), counters[step]) << step;
    }

    // A new puzzle starts a fresh history.
    Boxes().AnswerNextConfirmations({true});
    ToolButton("ToolButton7").click();
    const QString fresh = EngineGrid();
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(EngineGrid(), fresh);
}

TEST_F(PlayAids, NotesAreThePlayersAndADigitInTheirUnitClearsWhatUndoBringsBack) {
    ClickCell(0, 0);
    for (Qt::Key digit : {Qt::Key_2, Qt::Key_5, Qt::Key_9, Qt::Key_7, Qt::Key_7}) {
        Press(digit, Qt::ControlModifier);  // the second 7 clears the first
    }
    ToolButton("ToolButton_4").click();
    QTest::mouseClick(Board().viewport(), Qt::RightButton, {}, CellRect(8, 0).center());
    ToolButton("ToolButton_4").click();
    EXPECT_EQ(Description(0, 0), QStringLiteral("row 1, column 1, notes 2 5 9"));
    EXPECT_EQ(Description(8, 0), QStringLiteral("row 1, column 9, notes 4"));
    EXPECT_EQ(EngineGrid(), EmptyGridText());  // notes never reach the engine
    EXPECT_TRUE(CellWrites().isEmpty());
    // Painted small in their places: 2 top middle, nothing where the 1 would stand.
    const QImage board = Board().grab().toImage();
    auto inkIn = [&](int slotColumn, int slotRow) {
        int ink = 0;
        const QRect cell = CellRect(0, 0).translated(1, 1);
        for (int y = 3 + slotRow * 12; y < 3 + (slotRow + 1) * 12; ++y) {
            for (int x = 3 + slotColumn * 12; x < 3 + (slotColumn + 1) * 12; ++x) {
                ink += board.pixelColor(cell.topLeft() + QPoint(x, y)).lightness() < 60 ? 1 : 0;
            }
        }
        return ink;
    };
    EXPECT_GT(inkIn(1, 0), 3);
    EXPECT_EQ(inkIn(0, 0), 0);

    Enter(4, 0, u'5');  // the same row: the 5 goes from the notes of (0, 0)
    EXPECT_EQ(Description(0, 0), QStringLiteral("row 1, column 1, notes 2 9"));
    Enter(8, 0, u'6');  // a digit clears its own cell's notes
    EXPECT_EQ(Description(8, 0), QStringLiteral("row 1, column 9"));
    ClickCell(8, 0);
    Press(Qt::Key_Delete);  // emptying brings nothing back
    EXPECT_EQ(Description(8, 0), QStringLiteral("row 1, column 9"));
    Press(Qt::Key_4, Qt::ControlModifier);
    ClickCell(4, 0);
    Press(Qt::Key_3, Qt::ControlModifier);  // a filled cell takes no note
    EXPECT_EQ(Description(4, 0), QStringLiteral("row 1, column 5"));

    for (int i = 0; i < 3; ++i) {
        Press(Qt::Key_Z, Qt::ControlModifier);  // the note 4, the erase, the 6
    }
    EXPECT_EQ(Description(8, 0), QStringLiteral("row 1, column 9, notes 4"));
    Press(Qt::Key_Z, Qt::ControlModifier);  // the 5
    EXPECT_EQ(Description(0, 0), QStringLiteral("row 1, column 1, notes 2 5 9"));
    EXPECT_EQ(Cell(4, 0), QString());
}

TEST_F(PlayAids, RepeatedDigitsAreMarkedOnlyWhileHintsAreOn) {
    const QColor digit(Qt::black);
    const QColor conflict = appearance::QColorFromHex(appearance::SkinColors().conflict_font);
    Enter(0, 0, u'5');
    Enter(8, 0, u'5');
    Enter(4, 4, u'5');
    EXPECT_EQ(Ink(0, 0), digit);
    ToolButton("ToolButton_hint").click();
    EXPECT_EQ(Ink(0, 0), conflict);
    EXPECT_EQ(Ink(8, 0), conflict);
    EXPECT_EQ(Ink(4, 4), digit);
    Enter(4, 0, u'5');  // the column of (4, 4): marked there at once, not at the next repaint
    EXPECT_EQ(Ink(4, 4), conflict);
    EXPECT_EQ(Description(4, 4), QStringLiteral("row 5, column 5, repeated"));
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Ink(4, 4), digit);
    EXPECT_EQ(Description(4, 4), QStringLiteral("row 5, column 5"));
    Enter(8, 0, u'6');
    EXPECT_EQ(Ink(0, 0), digit);
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Ink(8, 0), conflict);
    EXPECT_EQ(Ink(0, 0), conflict);
    ToolButton("ToolButton_hint").click();
    EXPECT_EQ(Ink(8, 0), digit);
}

TEST_F(PlayAids, TheAidsStartOffAndAreKeptBetweenRunsInAFileOfTheirOwn) {
    const QString aidsPath = ProgramDir() + QStringLiteral("play_aids.ini");
    const char* const items[] = {"HighlightHouses1", "HighlightSameDigits1", "MarkMistakes1"};
    auto checks = [&] {
        QList<bool> checked;
        for (const char* item : items) {
            checked << (MenuItem(item).isEnabled() && MenuItem(item).isChecked());
        }
        return checked;
    };
    EXPECT_EQ(checks(), QList<bool>({false, false, false}));
    EXPECT_FALSE(QFile::exists(aidsPath));
    const QByteArray config = ConfigText();
    Press(Qt::Key_F6);
    MenuItem("MarkMistakes1").trigger();
    EXPECT_EQ(checks(), QList<bool>({false, true, true}));
    EXPECT_EQ(ConfigText(), config);
    MakeWindow();
    ShowReady();
    EXPECT_EQ(checks(), QList<bool>({false, true, true}));

    // A broken or foreign file reads as every aid off, says nothing and loses nothing else.
    QFile broken(aidsPath);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\xff\xfe[aids]\nmark_mistakes=yes\nhighlight_same_digits\n" +
                 QByteArray(200'000, 'x'));
    broken.close();
    MakeWindow();
    ShowReady();
    EXPECT_EQ(checks(), QList<bool>({false, false, false}));
    EXPECT_TRUE(Boxes().shown.empty());
    EXPECT_EQ(ConfigText(), config);

    // A choice that cannot be stored is reported and leaves the aid as it was.
    ASSERT_TRUE(QFile::remove(aidsPath));
    ASSERT_TRUE(QDir().mkdir(aidsPath));
    Press(Qt::Key_F5);
    EXPECT_EQ(checks(), QList<bool>({false, false, false}));
    EXPECT_EQ(Boxes().shown.size(), 1u);
}

TEST_F(PlayAids, AWrongDigitIsMarkedAtOnceAndAllNotesComeAndGoInOneStep) {
    MenuItem("MarkMistakes1").trigger();
    ToolButton("ToolButton7").click();
    const QString grid = EngineGrid();
    std::string puzzle;
    for (int i = 0; i < 81; ++i) {
        puzzle += grid[GridTextOffset(i % 9, i / 9)].toLatin1();
    }
    const QString solution = Engine().CallText("UniqueSolution", {puzzle});
    ASSERT_EQ(solution.size(), 81);
    const int empty = static_cast<int>(puzzle.find('0'));
    const int column = empty % 9;
    const int row = empty / 9;
    const QChar right = solution[empty];
    const QChar wrong = right == u'9' ? u'1' : QChar(right.unicode() + 1);
    const QColor mistake = appearance::QColorFromHex(appearance::SkinColors().mistake_font);
    auto upperCorner = [&] {
        // Inside the corner, clear of the focus frame.
        const QPoint spot = CellRect(column, row).topRight() + QPoint(-5, 5) + QPoint(1, 1);
        return Board().grab().toImage().pixelColor(spot);
    };
    Enter(column, row, wrong);
    EXPECT_TRUE(Description(column, row).endsWith(QLatin1String(", mistake")));
    EXPECT_EQ(upperCorner(), mistake);
    Enter(column, row, right);
    EXPECT_FALSE(Description(column, row).contains(QLatin1String("mistake")));
    EXPECT_NE(upperCorner(), mistake);

    // Every empty cell gets the hint's candidates as notes; undo takes them all back at once.
    auto notesAsTheHintSays = [&] {
        int noted = 0;
        for (int i = 0; i < 81; ++i) {
            if (!Cell(i % 9, i / 9).isEmpty()) {
                continue;
            }
            const Notes candidates = CandidateNotes(
                Engine().CallText("leggi_candidati", {std::int32_t(i / 9), std::int32_t(i % 9)}));
            noted += Description(i % 9, i / 9) == CellDescription(i % 9, i / 9, false, candidates);
        }
        return noted;
    };
    auto noted = [&] {
        int cells = 0;
        for (int i = 0; i < 81; ++i) {
            cells += Description(i % 9, i / 9).contains(QLatin1String("notes")) ? 1 : 0;
        }
        return cells;
    };
    const int emptyCells = 81 - FilledCells();
    Press(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(notesAsTheHintSays(), emptyCells);
    EXPECT_EQ(noted(), emptyCells);
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(noted(), 0);
    EXPECT_EQ(Cell(column, row), QString(right));
    Press(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    MenuItem("ClearAllNotes1").trigger();
    EXPECT_EQ(noted(), 0);
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(noted(), emptyCells);
}

TEST_F(PlayAids, TheNextStepIsRatedExplainedMarkedAppliedAndUndoneAndAWrongDigitComesFirst) {
    // A puzzle typed in and locked; its first steps are singles.
    const QString puzzle = QStringLiteral(
        "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79");
    for (int i = 0; i < 81; ++i) {
        if (puzzle[i] != u'.') {
            Enter(i % 9, i / 9, puzzle[i]);
        }
    }
    MenuItem("Locksquares1").trigger();
    const QLabel& rating = Find<QLabel>("Rating_Panel");
    EXPECT_TRUE(testing_support::WaitFor(
        [&] { return rating.text() != QLatin1String("Rating..."); }, 60000));
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^Rating [12]\.\d \(.*Single\)$)"))
                    .match(rating.text())
                    .hasMatch())
        << rating.text().toStdString();
    EXPECT_TRUE(rating.isVisible());
    QString zeros = puzzle;
    const QString solution =
        Engine().CallText("UniqueSolution", {zeros.replace(u'.', u'0').toStdString()});
    ASSERT_EQ(solution.size(), 81);

    const QLabel& step = Find<QLabel>("Step_Panel");
    EXPECT_FALSE(step.isVisible());
    Press(Qt::Key_F9);
    const QRegularExpressionMatch single =
        QRegularExpression(
            QStringLiteral(R"(^Hidden single: in .*, (\d) fits only in row (\d), column (\d)\.$)"))
            .match(step.text());
    ASSERT_TRUE(single.hasMatch()) << step.text().toStdString();
    EXPECT_TRUE(step.isVisible());
    EXPECT_EQ(step.accessibleDescription(), step.text());
    const int row = single.captured(2).toInt() - 1;
    const int column = single.captured(3).toInt() - 1;
    EXPECT_EQ(single.captured(1), solution.at(row * 9 + column));
    EXPECT_TRUE(
        Description(column, row).endsWith(QLatin1String(", in the step, changed by the step")))
        << Description(column, row).toStdString();
    // The changed cell's bar, along the top between the corners.
    const QPoint bar = CellRect(column, row).topLeft() + QPoint(20, 5) + QPoint(1, 1);
    EXPECT_EQ(Board().grab().toImage().pixelColor(bar), QColor(220, 110, 0));

    // Applied, the digit stands and the marks go; undo takes it back at once.
    Press(Qt::Key_F9, Qt::ShiftModifier);
    EXPECT_EQ(Cell(column, row), QString(solution.at(row * 9 + column)));
    EXPECT_FALSE(step.isVisible());
    EXPECT_FALSE(Description(column, row).contains(QLatin1String("step")));
    EXPECT_NE(Board().grab().toImage().pixelColor(bar), QColor(220, 110, 0));
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Cell(column, row), QString());

    // A wrong digit is named before any step, and typing moves the explanation on.
    const int empty = static_cast<int>(puzzle.indexOf(u'.'));
    const QChar right = solution.at(empty);
    const QChar wrong = right == u'9' ? u'1' : QChar(right.unicode() + 1);
    Enter(empty % 9, empty / 9, wrong);
    Press(Qt::Key_F9);
    EXPECT_TRUE(step.text().startsWith(QStringLiteral("Row %1, column %2 (%3) does not fit")
                                           .arg(empty / 9 + 1)
                                           .arg(empty % 9 + 1)
                                           .arg(wrong)))
        << step.text().toStdString();
    EXPECT_TRUE(Description(empty % 9, empty / 9).endsWith(QLatin1String(", mistake")));
    Enter(empty % 9, empty / 9, right);
    EXPECT_FALSE(step.isVisible());
    EXPECT_FALSE(Description(empty % 9, empty / 9).contains(QLatin1String("mistake")));
}

TEST_F(PlayAids, PauseCoversTheBoardAndHoldsTheTimeUntilTheBoardIsClicked) {
    EXPECT_FALSE(MenuItem("Pause1").isEnabled());  // nothing is timed yet
    ToolButton("ToolButton7").click();
    const int filled = FilledCells();
    ticks += 7000;
    Window().CronometroTimer();
    Press(Qt::Key_F8);
    EXPECT_TRUE(MenuItem("Pause1").isChecked());
    EXPECT_FALSE(StopwatchRunning());
    EXPECT_EQ(FilledCells(), 0);
    // No digit shows: a cell holding a given is its fill alone.
    int given = 0;
    while (EngineGrid()[GridTextOffset(given % 9, given / 9)] == u'0') {
        ++given;
    }
    const QImage covered = Board().grab().toImage();
    const QRect inner = CellRect(given % 9, given / 9).translated(1, 1).adjusted(2, 2, -2, -2);
    for (int y = inner.top(); y <= inner.bottom(); ++y) {
        for (int x = inner.left(); x <= inner.right(); ++x) {
            ASSERT_EQ(covered.pixel(x, y), covered.pixel(inner.topLeft())) << x << "," << y;
        }
    }
    // Under the cover the board takes nothing, and the time stands still.
    const QString engineGrid = EngineGrid();
    Board().setFocus();
    Press(Qt::Key_5);
    Press(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(EngineGrid(), engineGrid);
    ticks += 600'000;
    Window().CronometroTimer();
    EXPECT_EQ(Panel(StatusPanel::Time), QStringLiteral("00 : 00 : 07"));

    ClickCell(4, 4);  // resumes, and writes nothing
    EXPECT_FALSE(MenuItem("Pause1").isChecked());
    EXPECT_TRUE(StopwatchRunning());
    EXPECT_EQ(FilledCells(), filled);
    ticks += 2000;
    Window().CronometroTimer();
    EXPECT_EQ(Panel(StatusPanel::Time), QStringLiteral("00 : 00 : 09"));
    MenuItem("Pause1").trigger();
    EXPECT_TRUE(MenuItem("Pause1").isChecked());
    Press(Qt::Key_Pause);
    EXPECT_FALSE(MenuItem("Pause1").isChecked());
}

}  // namespace
}  // namespace board
