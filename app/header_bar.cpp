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

PictureButton::PictureButton(Icon icon, const QString& accessibleName, QWidget* parent)
    : QAbstractButton(parent) {
    setIcon(MakeIcon(icon));
    setIconSize({16, 16});
    setFixedSize(17, 17);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(accessibleName);
    setToolTip(accessibleName);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (isEnabled() && (hovered_ || isDown())) {
        painter.fillRect(rect(), QColor(255, 255, 255, isDown() ? 90 : 50));
        painter.setPen(QColor(255, 255, 255, 160));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    icon().paint(&painter, QRect(0, 0, 16, 16).translated(isDown() ? 1 : 0, isDown() ? 1 : 0),
                 Qt::AlignCenter, mode);
}

void PictureButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
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

    BBmenu = new PictureButton(Icon::HeaderMenu, QStringLiteral("Menu"), this);
    BBmenu->setObjectName(QStringLiteral("BBmenu"));
    BBmenu->move(9, 7);
    BBminimize = new PictureButton(Icon::HeaderMinimize, QStringLiteral("Minimise"), this);
    BBminimize->setObjectName(QStringLiteral("BBminimize"));
    BBminimize->move(618, 7);
    BBclose = new PictureButton(Icon::HeaderClose, QStringLiteral("Close"), this);
    BBclose->setObjectName(QStringLiteral("BBclose"));
    BBclose->move(636, 7);
}

}  // namespace app
