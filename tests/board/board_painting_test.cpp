#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QImage>
#include <QPainter>

#include "appearance/color_contrast.h"
#include "appearance/color_from_hex.h"
#include "board/board_grid.h"
#include "board/cell_layout.h"
#include "board/cell_painter.h"

namespace board {
namespace {

// The fill colour of every cell on a board with nothing locked, row by row (1 = grid1 ...).
constexpr int kFillTable[9][9] = {
    {1, 2, 1, 4, 3, 4, 1, 2, 1}, {2, 1, 2, 3, 4, 3, 2, 1, 2}, {1, 2, 1, 4, 3, 4, 1, 2, 1},
    {4, 3, 4, 1, 2, 1, 4, 3, 4}, {3, 4, 3, 2, 1, 2, 3, 4, 3}, {4, 3, 4, 1, 2, 1, 4, 3, 4},
    {1, 2, 1, 4, 3, 4, 1, 2, 1}, {2, 1, 2, 3, 4, 3, 2, 1, 2}, {1, 2, 1, 4, 3, 4, 1, 2, 1},
};

class BoardPainting : public ::testing::Test {
protected:
    // The board as drawn, with the widget's one-pixel frame taken off, so that the picture's
    // coordinates are those of CellRect.
    QImage Render() {
        board_.RepaintAll();
        return board_.grab().toImage().copy(1, 1, kBoardSize - 2, kBoardSize - 2);
    }

    QColor Key(int key) const {
        const QString* texts[] = {&colors_.grid1, &colors_.grid2, &colors_.grid3, &colors_.grid4};
        return appearance::QColorFromHex(*texts[key - 1]);
    }

    static QColor Centre(const QImage& image, int column, int row) {
        return image.pixelColor(CellRect(column, row).center());
    }

    // The leftmost column of a rectangle that holds a pixel of the given colour.
    static int LeftmostInk(const QImage& image, const QRect& area, const QColor& ink) {
        for (int x = area.left(); x <= area.right(); ++x) {
            for (int y = area.top(); y <= area.bottom(); ++y) {
                if (image.pixelColor(x, y) == ink) {
                    return x;
                }
            }
        }
        return -1;
    }

    appearance::SkinColors colors_;
    BoardView view_;
    BoardGrid board_{colors_, view_};
};

TEST_F(BoardPainting, EveryCellTakesItsBoxAndCellParityColour) {
    QImage image = Render();
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            EXPECT_EQ(FillKey(column, row), kFillTable[row][column]) << column << "," << row;
            EXPECT_EQ(Centre(image, column, row), Key(kFillTable[row][column]))
                << "cell " << column << "," << row;
        }
    }
}

TEST_F(BoardPainting, LockedCellsTakeTheLockedFillAndOthersKeepTheirs) {
    view_.Locked().Append(0, 5);
    view_.Locked().Append(2, 0);
    QImage image = Render();
    const QColor lockedFill = appearance::QColorFromHex(colors_.cells_locked);
    EXPECT_EQ(Centre(image, 0, 5), lockedFill);
    EXPECT_EQ(Centre(image, 2, 0), lockedFill);
    EXPECT_EQ(Centre(image, 5, 0), Key(kFillTable[0][5]));

    view_.Locked().Clear();
    image = Render();
    EXPECT_EQ(Centre(image, 0, 5), Key(kFillTable[5][0]));
}

TEST_F(BoardPainting, SkinColoursShowAtTheNextPaint) {
    colors_.grid1 = QStringLiteral("#102030");
    QImage image = Render();
    EXPECT_EQ(Centre(image, 4, 4), QColor(0x10, 0x20, 0x30));
}

TEST_F(BoardPainting, BoxLinesRunOnlyBeforeRowsAndColumnsThreeAndSix) {
    QImage image = Render();
    const QColor black(Qt::black);
    for (int i = 0; i < 9; ++i) {
        QRect cell = CellRect(i, i);
        bool boxBorder = i == 3 || i == 6;
        // The line covers the grid line before the cell and the cell's first pixel row.
        EXPECT_EQ(image.pixelColor(cell.center().x(), cell.top()) == black, boxBorder) << i;
        EXPECT_EQ(image.pixelColor(cell.center().x(), cell.top() - 1) == black, boxBorder && i)
            << i;
        EXPECT_EQ(image.pixelColor(cell.left(), cell.center().y()) == black, boxBorder) << i;
        // Never two pixels into the cell.
        EXPECT_NE(image.pixelColor(cell.center().x(), cell.top() + 1), black) << i;
    }
    // Where a box row and a box column meet, the cell has both lines.
    QRect corner = CellRect(3, 3);
    EXPECT_EQ(image.pixelColor(corner.left() + 20, corner.top()), black);
    EXPECT_EQ(image.pixelColor(corner.left(), corner.top() + 20), black);
}

TEST_F(BoardPainting, EachCellHasARaisedRim) {
    QImage image = Render();
    QRect cell = CellRect(1, 1);
    EXPECT_EQ(image.pixelColor(cell.center().x(), cell.top()), kRimLight);
    EXPECT_EQ(image.pixelColor(cell.left(), cell.center().y()), kRimLight);
    EXPECT_EQ(image.pixelColor(cell.center().x(), cell.bottom()), kRimDark);
    EXPECT_EQ(image.pixelColor(cell.right(), cell.center().y()), kRimDark);
}

TEST_F(BoardPainting, DigitsStandAtFixedOffsetsAndAOneSixPixelsFurtherRight) {
    // Where each digit's ink starts when drawn at a known origin, as a reference.
    auto inkOffset = [this](const QString& text) {
        QImage reference(60, 60, QImage::Format_RGB32);
        reference.fill(Qt::white);
        QPainter painter(&reference);
        painter.setFont(board_.GridFont());
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, 0, 60, 60), Qt::AlignLeft | Qt::AlignTop, text);
        painter.end();
        return LeftmostInk(reference, reference.rect(), Qt::black);
    };
    view_.SetCell(1, 0, {QStringLiteral("1"), 0});
    view_.SetCell(4, 0, {QStringLiteral("7"), 0});
    view_.Locked().Append(4, 0);
    colors_.grid_font = QStringLiteral("#0000ff");
    colors_.cells_locked_font = QStringLiteral("#00ff00");
    QImage image = Render();

    QRect one = CellRect(1, 0);
    QRect seven = CellRect(4, 0);
    EXPECT_EQ(LeftmostInk(image, one, QColor(0, 0, 255)) - one.left(), 17 + inkOffset("1"));
    EXPECT_EQ(LeftmostInk(image, seven, QColor(0, 255, 0)) - seven.left(), 11 + inkOffset("7"));
}

TEST_F(BoardPainting, ALockedEmptyCellShowsOnlyTheLockedFill) {
    view_.Locked().Append(6, 6);
    QImage image = Render();
    QRect inner = CellRect(6, 6).adjusted(2, 2, -2, -2);
    const QColor lockedFill = appearance::QColorFromHex(colors_.cells_locked);
    for (int y = inner.top(); y <= inner.bottom(); ++y) {
        for (int x = inner.left(); x <= inner.right(); ++x) {
            ASSERT_EQ(image.pixelColor(x, y), lockedFill) << x << "," << y;
        }
    }
}

TEST_F(BoardPainting, EachAidPaintsItsMarksOnlyWhileOnAndThePauseCoversEverything) {
    using appearance::QColorFromHex;
    view_.SetCell(0, 0, {QStringLiteral("5"), 0});  // a given 5
    view_.SetCell(1, 1, {QStringLiteral("3"), 0});  // the player's 3, where 4 belongs
    view_.SetCell(7, 1, {QStringLiteral("3"), 0});  // ... which repeats in its row
    view_.SetCell(4, 4, {QStringLiteral("5"), 0});  // the player's 5, right
    view_.SetCell(8, 8, {QString(), Notes(1 << 2 | 1 << 5)});
    view_.Locked().Append(0, 0);
    view_.Locked().Append(4, 8);  // a locked empty cell in the selected cell's column
    QString solution(81, u'9');
    solution[CellIndex(0, 0)] = u'5';
    solution[CellIndex(1, 1)] = u'4';
    solution[CellIndex(7, 1)] = u'3';
    solution[CellIndex(4, 4)] = u'5';
    const QImage unmarked = Render();
    view_.Select(4, 4);
    view_.SetSolution(solution);
    EXPECT_EQ(Render(), unmarked) << "an aid shows while off";

    const QColor shade = QColorFromHex(colors_.house_shade);
    const QColor lockedFill = QColorFromHex(colors_.cells_locked);
    view_.SetAids({.highlightHouses = true});
    QImage image = Render();
    EXPECT_EQ(Centre(image, 4, 0), appearance::ShadedFill(Key(kFillTable[0][4]), shade));
    EXPECT_EQ(Centre(image, 3, 3), appearance::ShadedFill(Key(kFillTable[3][3]), shade));
    EXPECT_EQ(Centre(image, 4, 8), appearance::ShadedFill(lockedFill, shade));
    EXPECT_EQ(Centre(image, 4, 4), Key(kFillTable[4][4]));  // the selected cell stands out
    EXPECT_EQ(Centre(image, 8, 0), Key(kFillTable[0][8]));
    EXPECT_EQ(Centre(image, 0, 0), lockedFill);

    // Marks inside the rim: a frame, a square behind a note, and the two corners.
    auto frame = [](int column, int row) { return CellRect(column, row).topLeft() + QPoint(2, 2); };
    auto noteSlot = [](int column, int row, int digit) {
        return CellRect(column, row).topLeft() +
               QPoint(3 + 12 * ((digit - 1) % 3), 3 + 12 * ((digit - 1) / 3));
    };
    auto upperCorner = [](int column, int row) {
        return CellRect(column, row).topRight() + QPoint(-2, 2);
    };
    auto lowerCorner = [](int column, int row) {
        return CellRect(column, row).bottomLeft() + QPoint(2, -2);
    };
    const QColor same = QColorFromHex(colors_.same_digit_mark);
    view_.SetAids({.highlightSameDigits = true});
    image = Render();
    EXPECT_EQ(image.pixelColor(frame(0, 0)), same);
    EXPECT_EQ(image.pixelColor(frame(4, 4)), same);
    EXPECT_NE(image.pixelColor(frame(1, 1)), same);
    EXPECT_EQ(image.pixelColor(noteSlot(8, 8, 5)), same);
    EXPECT_EQ(image.pixelColor(noteSlot(8, 8, 2)), Key(kFillTable[8][8]));

    const QColor mistake = QColorFromHex(colors_.mistake_font);
    const QColor conflict = QColorFromHex(colors_.conflict_font);
    view_.SetAids({.markMistakes = true});
    image = Render();
    EXPECT_EQ(image.pixelColor(upperCorner(1, 1)), mistake);
    EXPECT_NE(image.pixelColor(upperCorner(7, 1)), mistake);
    EXPECT_NE(image.pixelColor(upperCorner(4, 4)), mistake);
    EXPECT_NE(image.pixelColor(lowerCorner(1, 1)), conflict);
    view_.ShowConflicts(true);
    image = Render();
    EXPECT_EQ(image.pixelColor(lowerCorner(1, 1)), conflict);
    EXPECT_EQ(image.pixelColor(lowerCorner(7, 1)), conflict);
    EXPECT_NE(image.pixelColor(upperCorner(7, 1)), mistake);  // repeated, yet right
    EXPECT_NE(image.pixelColor(lowerCorner(4, 4)), conflict);
    EXPECT_EQ(board_.item(1, 1)->data(Qt::AccessibleDescriptionRole).toString(),
              QStringLiteral("row 2, column 2, repeated, mistake"));

    // Paused: not a digit, a note or a mark anywhere, and nothing to read out either.
    view_.SetAids({true, true, true});
    view_.SetPaused(true);
    image = Render();
    for (const QPoint& cell : {QPoint(0, 0), QPoint(1, 1), QPoint(7, 1), QPoint(8, 8)}) {
        const QRect inner = CellRect(cell.x(), cell.y()).adjusted(1, 1, -1, -1);
        const QColor fill = image.pixelColor(inner.topLeft() + QPoint(1, 1));
        for (int y = inner.top(); y <= inner.bottom(); ++y) {
            for (int x = inner.left(); x <= inner.right(); ++x) {
                ASSERT_EQ(image.pixelColor(x, y), fill) << cell.x() << "," << cell.y();
            }
        }
    }
    EXPECT_EQ(board_.CellText(4, 4), QString());
    EXPECT_EQ(board_.accessibleDescription(), QStringLiteral("Paused"));
}

TEST(FindMarks, MarksFollowTheSelectionAndTheSolutionButNeverMarkTheGivens) {
    BoardState cells;
    LockedCells locked;
    cells[CellIndex(0, 0)] = {QStringLiteral("7"), 0};  // a given that contradicts the solution
    cells[CellIndex(2, 0)] = {QStringLiteral("7"), 0};
    cells[CellIndex(5, 5)] = {QString(), Notes(1 << 7)};
    locked.Append(0, 0);
    const QString solution = QString(81, u'1');
    MarkSources sources{.cells = cells,
                        .locked = locked,
                        .selected = std::nullopt,
                        .aids = {true, true, true},
                        .conflictsShown = false,
                        .solution = solution};
    BoardMarks marks = FindMarks(sources);
    EXPECT_FALSE(marks[CellIndex(0, 0)].mistake);
    EXPECT_TRUE(marks[CellIndex(2, 0)].mistake);
    EXPECT_FALSE(marks[CellIndex(2, 0)].sameDigit);  // nothing is selected yet
    EXPECT_FALSE(marks[CellIndex(2, 0)].conflict);

    sources.selected = CellIndex(0, 0);
    sources.conflictsShown = true;
    marks = FindMarks(sources);
    EXPECT_TRUE(marks[CellIndex(2, 0)].sameDigit && marks[CellIndex(0, 0)].sameDigit);
    EXPECT_EQ(marks[CellIndex(5, 5)].sameDigitNote, Notes(1 << 7));
    EXPECT_TRUE(marks[CellIndex(0, 0)].conflict && marks[CellIndex(2, 0)].conflict);
    EXPECT_TRUE(marks[CellIndex(8, 0)].shaded && marks[CellIndex(0, 8)].shaded);
    EXPECT_TRUE(marks[CellIndex(2, 2)].shaded);
    EXPECT_FALSE(marks[CellIndex(0, 0)].shaded || marks[CellIndex(3, 3)].shaded);

    sources.selected = CellIndex(5, 5);  // an empty cell: no digit to match
    sources.solution.clear();            // and no solution known
    marks = FindMarks(sources);
    EXPECT_EQ(marks[CellIndex(5, 5)].sameDigitNote, 0);
    EXPECT_FALSE(marks[CellIndex(2, 0)].sameDigit || marks[CellIndex(2, 0)].mistake);
}

TEST(CellLayout, PointsOnGridLinesBelongToNoCell) {
    EXPECT_EQ(CellAt({0, 0}), QPoint(0, 0));
    EXPECT_EQ(CellAt({39, 39}), QPoint(0, 0));
    EXPECT_EQ(CellAt({40, 10}), QPoint(-1, -1));
    EXPECT_EQ(CellAt({41, 10}), QPoint(1, 0));
    EXPECT_EQ(CellAt({367, 367}), QPoint(8, 8));
    EXPECT_EQ(CellAt({368, 0}), QPoint(-1, -1));
    EXPECT_EQ(CellRect(8, 8).bottomRight(), QPoint(367, 367));
}

TEST(BoardAccessibility, TheBoardReadsAsATableOfCellsThatSayWhenTheyAreLocked) {
    appearance::SkinColors colors;
    BoardView view;
    BoardGrid board(colors, view);
    view.SetCell(2, 5, {QStringLiteral("8"), 0});
    view.Locked().Append(2, 5);
    board.RepaintAll();

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&board);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->rowCount(), 9);
    EXPECT_EQ(cells->columnCount(), 9);

    QAccessibleInterface* filled = cells->cellAt(5, 2);
    ASSERT_NE(filled, nullptr);
    EXPECT_EQ(filled->text(QAccessible::Name), QStringLiteral("8"));
    EXPECT_EQ(filled->text(QAccessible::Description), QStringLiteral("row 6, column 3, locked"));
    EXPECT_EQ(cells->cellAt(0, 0)->text(QAccessible::Description),
              QStringLiteral("row 1, column 1"));
}

}  // namespace
}  // namespace board
