#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QWidget>

#include "app/icons.h"

namespace app {

// A header piece: its picture repeated side by side and row by row from its own top-left
// corner until the piece is covered.
class TiledPicture : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;
    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

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

// The transparent strip between the menu and minimise buttons that drags the window.
class DragPanel : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

signals:
    // Any mouse button went down over the panel.
    void pressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// The header strip that stands in for the caption bar: three tiled pictures, the menu
// button at the left, minimise and close at the right, and the drag panel between.
class HeaderBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 30;

    explicit HeaderBar(QWidget* parent);

    TiledPicture* leftPiece;
    TiledPicture* middlePiece;
    TiledPicture* rightPiece;
    DragPanel* panel_move_header;
    PictureButton* BBmenu;
    PictureButton* BBminimize;
    PictureButton* BBclose;
};

}  // namespace app
