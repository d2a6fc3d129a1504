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

void PaintCellMarks(QPainter& painter, const QRect& rect, const CellMarkLook& look) {
    constexpr int kFrameWidth = 3;
    constexpr int kCornerSize = 11;
    const QRect inner = rect.adjusted(1, 1, -1, -1);
    painter.save();
    painter.setPen(Qt::NoPen);
    if (look.frame) {
        const int width = inner.width();
        const int height = inner.height();
        painter.fillRect(QRect(inner.left(), inner.top(), width, kFrameWidth), *look.frame);
        painter.fillRect(QRect(inner.left(), inner.bottom() - kFrameWidth + 1, width, kFrameWidth),
                         *look.frame);
        painter.fillRect(QRect(inner.left(), inner.top(), kFrameWidth, height), *look.frame);
        painter.fillRect(QRect(inner.right() - kFrameWidth + 1, inner.top(), kFrameWidth, height),
                         *look.frame);
    }
    // Corners as whole pixels: row k of a triangle covers kCornerSize - k pixels.
    if (look.upperCorner) {
        for (int k = 0; k < kCornerSize; ++k) {
            painter.fillRect(
                QRect(inner.right() - (kCornerSize - k) + 1, inner.top() + k, kCornerSize - k, 1),
                *look.upperCorner);
        }
    }
    if (look.lowerCorner) {
        for (int k = 0; k < kCornerSize; ++k) {
            painter.fillRect(QRect(inner.left(), inner.bottom() - k, kCornerSize - k, 1),
                             *look.lowerCorner);
        }
    }
    // Between the corners and inside the frame, so that the step's marks and the aids' show
    // together.
    if (look.upperBar) {
        constexpr int kBarHeight = 3;
        painter.fillRect(QRect(inner.left() + kCornerSize, inner.top() + kFrameWidth + 1,
                               inner.width() - 2 * kCornerSize, kBarHeight),
                         *look.upperBar);
    }
    if (look.dashedFrame) {
        constexpr int kInset = kFrameWidth;
        painter.setPen(QPen(*look.dashedFrame, 2, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(inner.adjusted(kInset, kInset, -kInset - 1, -kInset - 1));
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
