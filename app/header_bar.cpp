#include "app/header_bar.h"

#include <QMouseEvent>
#include <QPainter>

namespace app {

void TiledPicture::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void TiledPicture::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), picture_);
}

void DragPanel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit pressed();
}

HeaderBar::HeaderBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("cntHeader"));
    const int width = parent->width();
    setGeometry(0, 0, width, kHeight);

    leftPiece = new TiledPicture(this);
    leftPiece->setGeometry(0, 0, 100, kHeight);
    middlePiece = new TiledPicture(this);
    middlePiece->setGeometry(100, 0, width - 200, kHeight);
    rightPiece = new TiledPicture(this);
    rightPiece->setGeometry(width - 100, 0, 100, kHeight);

    panel_move_header = new DragPanel(this);
    panel_move_header->setObjectName(QStringLiteral("panel_move_header"));
    panel_move_header->setGeometry(28, 0, 617 - 28 + 1, kHeight);

    BBmenu = new toolkit::PictureButton(toolkit::Icon::HeaderMenu, QStringLiteral("Menu"), this);
    BBmenu->setObjectName(QStringLiteral("BBmenu"));
    BBmenu->move(9, 7);
    BBminimize =
        new toolkit::PictureButton(toolkit::Icon::HeaderMinimize, QStringLiteral("Minimise"), this);
    BBminimize->setObjectName(QStringLiteral("BBminimize"));
    BBminimize->move(618, 7);
    BBclose = new toolkit::PictureButton(toolkit::Icon::HeaderClose, QStringLiteral("Close"), this);
    BBclose->setObjectName(QStringLiteral("BBclose"));
    BBclose->move(636, 7);
}

}  // namespace app
