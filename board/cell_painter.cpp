#include "board/cell_painter.h"

#include <QPainter>
#include <QPen>

#include "board/cell_layout.h"

namespace board {

void PaintCell(QPainter& painter, const QRect& rect, const CellLook& look, const QFont& font) {
    painter.save();
    painter.setClipRect(rect);
    painter.fillRect(rect, look.fill);

    // The rim: light along the top and left, dark along the bottom and right.
    painter.setPen(kRimLight);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(kRimDark);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());

    if (!look.text.isEmpty()) {
        QRect inner = rect.adjusted(1, 1, -1, -1);
        QPoint origin = TextOrigin(inner, look.text);
        // The text stands on its own box of the fill colour, kept inside the rim.
        painter.setClipRect(inner);
        painter.setFont(font);
        painter.setPen(look.textColor);
        painter.setBackground(look.fill);
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.drawText(QRect(origin, inner.bottomRight()), Qt::AlignLeft | Qt::AlignTop,
                         look.text);
    }
    painter.restore();
}

void PaintBoxLines(QPainter& painter, const QRect& rect, int column, int row) {
    painter.save();
    // A two-pixel line at y covers rows y - 1 and y: the grid line and the cell's first row.
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    if (HasTopBoxLine(row)) {
        painter.drawLine(QPoint(rect.left() - 1, rect.top()), QPoint(rect.right() + 1, rect.top()));
    }
    if (HasLeftBoxLine(column)) {
        painter.drawLine(QPoint(rect.left(), rect.top() - 1),
                         QPoint(rect.left(), rect.bottom() + 1));
    }
    painter.restore();
}

}  // namespace board
