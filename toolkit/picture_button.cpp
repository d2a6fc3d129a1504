#include "toolkit/picture_button.h"

#include <QPainter>

namespace toolkit {

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

}  // namespace toolkit
