#pragma once

#include <QAbstractButton>

#include "toolkit/icons.h"

namespace toolkit {

// A small flat button that shows one picture, 17 x 17 pixels.
class PictureButton : public QAbstractButton {
    Q_OBJECT

public:
    PictureButton(Icon icon, const QString& accessibleName, QWidget* parent);
    QSize sizeHint() const override { return {17, 17}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool hovered_ = false;
};

}  // namespace toolkit
