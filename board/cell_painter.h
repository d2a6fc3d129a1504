#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <optional>

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

// The marks the play aids and hints put on a cell, each in its own colour and shape, so that
// none depends on telling colours apart: a frame just inside the rim, a triangle in the
// upper right corner and one in the lower left corner; for an explained step, a dashed frame
// further in around its pattern's cells and a bar along the top of the cells it changes.
struct CellMarkLook {
    std::optional<QColor> frame;
    std::optional<QColor> upperCorner;
    std::optional<QColor> lowerCorner;
    std::optional<QColor> dashedFrame;
    std::optional<QColor> upperBar;
};

// Paints the marks over a painted cell (40 x 40), inside its rim.
void PaintCellMarks(QPainter& painter, const QRect& rect, const CellMarkLook& look);

// Paints the two-pixel black box lines of cell (column, row) along its top and left edges,
// where a box border runs; they cover the grid line before the cell too. Called after every
// cell is painted, so no fill covers them.
void PaintBoxLines(QPainter& painter, const QRect& rect, int column, int row);

}  // namespace board
