#include "toolkit/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace toolkit {

namespace {

using Drawing = std::function<void(QPainter&)>;

// Draws on a 16 x 16 design grid, at 1x and 2x, with a transparent background.
QIcon Draw(const Drawing& drawing) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(16 * scale, 16 * scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        drawing(painter);
        painter.end();
        // A painted pixmap keeps its paint engine and the engine's buffers as long as it lives;
        // a copy holds the pixels alone.
        icon.addPixmap(pixmap.copy());
    }
    return icon;
}

const QColor kInk{40, 40, 40};
const QColor kPaper{250, 250, 245};
const QColor kAccent{178, 34, 34};
const QColor kGold{230, 180, 40};
const QColor kBlue{50, 90, 170};
const QColor kGreen{40, 140, 60};

QPen Ink(qreal width = 1.2) {
    return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void SmallGrid(QPainter& p) {
    p.setPen(Ink(1.0));
    p.setBrush(kPaper);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    for (qreal at : {5.83, 10.17}) {
        p.drawLine(QPointF(at, 1.5), QPointF(at, 14.5));
        p.drawLine(QPointF(1.5, at), QPointF(14.5, at));
    }
}

void Cross(QPainter& p, qreal from, qreal to) {
    p.drawLine(QPointF(from, from), QPointF(to, to));
    p.drawLine(QPointF(to, from), QPointF(from, to));
}

Drawing DrawingOf(Icon icon) {
    switch (icon) {
        case Icon::Load:
            return [](QPainter& p) {
                p.setPen(Ink());
                p.setBrush(kGold);
                QPainterPath folder;
                folder.moveTo(1.5, 3.5);
                folder.lineTo(6, 3.5);
                folder.lineTo(7.5, 5);
                folder.lineTo(14.5, 5);
                folder.lineTo(14.5, 13.5);
                folder.lineTo(1.5, 13.5);
                folder.closeSubpath();
                p.drawPath(folder);
            };
        case Icon::Save:
            return [](QPainter& p) {
                p.setPen(Ink());
                p.setBrush(kBlue);
                p.drawRect(QRectF(1.5, 1.5, 13, 13));
                p.setBrush(kPaper);
                p.drawRect(QRectF(4, 1.5, 8, 5));
                p.drawRect(QRectF(3.5, 9, 9, 5.5));
            };
        case Icon::Print:
            return [](QPainter& p) {
                p.setPen(Ink());
                p.setBrush(kPaper);
                p.drawRect(QRectF(4, 1.5, 8, 5));
                p.setBrush(QColor(150, 150, 150));
                p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1.5, 1.5);
                p.setBrush(kPaper);
                p.drawRect(QRectF(4, 10, 8, 4.5));
            };
        case Icon::Challenge:
            return [](QPainter& p) {
                p.setPen(Ink());
                p.setBrush(QColor(90, 160, 220));
                p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(QRectF(5, 1.5, 6, 13));
                p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
            };
        case Icon::NewPuzzle:
            return [](QPainter& p) {
                SmallGrid(p);
                p.setPen(Qt::NoPen);
                p.setBrush(kGold);
                p.drawEllipse(QRectF(8.5, 0.5, 7, 7));
                p.setPen(Ink(1.4));
                p.drawLine(QPointF(12, 2), QPointF(12, 6));
                p.drawLine(QPointF(10, 4), QPointF(14, 4));
            };
        case Icon::EmptyGrid:
            return [](QPainter& p) { SmallGrid(p); };
        case Icon::Lock:
            return [](QPainter& p) {
                p.setPen(Ink(1.6));
                p.setBrush(Qt::NoBrush);
                p.drawArc(QRectF(4.5, 1.5, 7, 8), 0, 180 * 16);
                p.drawLine(QPointF(4.5, 5.5), QPointF(4.5, 7));
                p.drawLine(QPointF(11.5, 5.5), QPointF(11.5, 7));
                p.setPen(Ink());
                p.setBrush(kGold);
                p.drawRoundedRect(QRectF(2.5, 7, 11, 7.5), 1, 1);
            };
        case Icon::Hint:
            return [](QPainter& p) {
                p.setPen(Ink());
                p.setBrush(QColor(255, 230, 90));
                p.drawEllipse(QRectF(3.5, 1, 9, 9));
                p.setBrush(QColor(160, 160, 160));
                p.drawRect(QRectF(6, 10, 4, 4));
                p.drawLine(QPointF(6.5, 15), QPointF(9.5, 15));
            };
        case Icon::Eraser:
            return [](QPainter& p) {
                p.setPen(Ink());
                p.setBrush(QColor(240, 140, 160));
                QPolygonF eraser({QPointF(1.5, 10), QPointF(8, 3.5), QPointF(14.5, 10),
                                  QPointF(10, 14.5), QPointF(6, 14.5)});
                p.drawPolygon(eraser);
                p.drawLine(QPointF(5, 6.5), QPointF(11.5, 13));
            };
        case Icon::Confirm:
            return [](QPainter& p) {
                p.setPen(QPen(kGreen, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.drawPolyline(
                    QPolygonF({QPointF(2.5, 8.5), QPointF(6.5, 12.5), QPointF(13.5, 3.5)}));
            };
        case Icon::Close:
            return [](QPainter& p) {
                p.setPen(QPen(kAccent, 2.4, Qt::SolidLine, Qt::RoundCap));
                Cross(p, 4, 12);
            };
        case Icon::HeaderClose:
            return [](QPainter& p) {
                p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
                Cross(p, 4.5, 11.5);
            };
        case Icon::About:
            return [](QPainter& p) {
                p.setPen(Ink());
                p.setBrush(kBlue);
                p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
                p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
                p.drawPoint(QPointF(8, 4.8));
                p.drawLine(QPointF(8, 7.5), QPointF(8, 11.5));
            };
        case Icon::Update:
            return [](QPainter& p) {
                p.setPen(QPen(kGreen, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.drawArc(QRectF(2.5, 2.5, 11, 11), 30 * 16, 300 * 16);
                p.setBrush(kGreen);
                p.setPen(Qt::NoPen);
                p.drawPolygon(QPolygonF({QPointF(10, 1), QPointF(15, 4), QPointF(10, 7)}));
            };
        case Icon::HeaderMenu:
            return [](QPainter& p) {
                p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
                for (qreal y : {4.0, 8.0, 12.0}) {
                    p.drawLine(QPointF(3.5, y), QPointF(12.5, y));
                }
            };
        case Icon::HeaderMinimize:
            return [](QPainter& p) {
                p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(4, 12), QPointF(12, 12));
            };
    }
    return [](QPainter&) {};
}

}  // namespace

QIcon MakeIcon(Icon icon) {
    return Draw(DrawingOf(icon));
}

QIcon MakeDigitIcon(int digit) {
    return Draw([digit](QPainter& p) {
        p.setPen(Ink(1.0));
        p.setBrush(kPaper);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2);
        QFont font = p.font();
        font.setPixelSize(12);
        font.setBold(true);
        p.setFont(font);
        p.setPen(kInk);
        p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QString::number(digit));
    });
}

}  // namespace toolkit
