#include "help/about_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace help {

QPixmap ProgramPicture() {
    QPixmap picture(152, 177);
    picture.fill(QColor(153, 0, 0));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    // A small board of three by three boxes in the board's colours.
    const QColor fills[] = {QColor(0xf1, 0x77, 0x77), QColor(0xf2, 0xb1, 0xb1)};
    const QRectF board(16, 40, 120, 120);
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            const bool evenBox = (row / 3 + column / 3) % 2 == 0;
            const bool evenCell = (row % 3 + column % 3) % 2 == 0;
            p.fillRect(
                QRectF(board.left() + column * 13.33, board.top() + row * 13.33, 13.33, 13.33),
                fills[evenBox == evenCell ? 0 : 1]);
        }
    }
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(board);
    for (int i = 1; i < 3; ++i) {
        p.drawLine(QPointF(board.left() + i * 40, board.top()),
                   QPointF(board.left() + i * 40, board.bottom()));
        p.drawLine(QPointF(board.left(), board.top() + i * 40),
                   QPointF(board.right(), board.top() + i * 40));
    }

    // A quill across the board's corner.
    QPainterPath feather;
    feather.moveTo(52, 120);
    feather.cubicTo(70, 70, 110, 30, 140, 8);
    feather.cubicTo(128, 44, 100, 84, 52, 120);
    QLinearGradient shade(52, 120, 140, 8);
    shade.setColorAt(0, QColor(240, 240, 235));
    shade.setColorAt(1, QColor(200, 205, 220));
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.setBrush(shade);
    p.drawPath(feather);
    p.setPen(QPen(QColor(60, 60, 60), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(44, 132), QPointF(120, 38));
    return picture;
}

QPixmap NamePicture() {
    QPixmap picture(165, 33);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(28);
    font.setItalic(true);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(153, 0, 0));
    p.drawText(picture.rect(), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quillmark"));
    return picture;
}

}  // namespace help
