#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

namespace board {

// The board is 9 x 9 cells of 40 pixels with a one-pixel line between neighbours, inside a
// one-pixel frame: 1 + 9 * 40 + 8 + 1 = 370 pixels across. Cells are addressed by column c
// and row r, each 0 to 8 from the top left.
inline constexpr int kCellCount = 9;
inline constexpr int kCellSize = 40;
inline constexpr int kGridLine = 1;
inline constexpr int kCellPitch = kCellSize + kGridLine;
inline constexpr int kBoardSize = 370;

// Cell (c, r) within the board's drawing surface (inside the frame): 40 x 40 pixels.
QRect CellRect(int column, int row);

// The cell under a point of the drawing surface, or (-1, -1) on a grid line or outside.
QPoint CellAt(QPoint point);

// Which of the four fill colours a cell takes: 1 for an even cell in an even box, 2 for an
// odd cell in an even box, 3 for an odd cell in an odd box, 4 for an even cell in an odd box.
// A box is even when (c div 3) + (r div 3) is even; a cell is even within its box when
// (c mod 3) + (r mod 3) is even.
int FillKey(int column, int row);

// Where a cell's text starts, given the cell's rectangle shrunk by its one-pixel rim: a "1"
// stands 6 pixels further right than any other text, so the narrow digit looks centred.
QPoint TextOrigin(const QRect& inner, const QString& text);

// Rows 3 and 6 carry a box line on their top edge, columns 3 and 6 on their left edge.
bool HasTopBoxLine(int row);
bool HasLeftBoxLine(int column);

}  // namespace board
