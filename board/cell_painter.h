#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

namespace board {

// What one cell looks like: its fill and digit colour (the locked colours for a locked cell)
// and its text, empty or one digit.
struct CellLook {
    QColor fill;
    QColor textColor;
    QString text;
};

// The colours of the raised one-pixel rim around every cell.
inline const QColor kRimLight{227, 227, 227};
inline const QColor kRimDark{105, 105, 105};

// Paints one cell into rect (40 x 40): the fill, the raised rim, and the text in font at the
// fixed offsets of TextOrigin on the fill colour. Draws nothing outside rect.
void PaintCell(QPainter& painter, const QRect& rect, const CellLook& look, const QFont& font);

// Paints the two-pixel black box lines of cell (column, row) along its top and left edges,
// where a box border runs; they cover the grid line before the cell too. Called after every
// cell is painted, so no fill covers them.
void PaintBoxLines(QPainter& painter, const QRect& rect, int column, int row);

}  // namespace board
