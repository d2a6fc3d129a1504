#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QWidget>

#include "toolkit/picture_button.h"

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
    toolkit::PictureButton* BBmenu;
    toolkit::PictureButton* BBminimize;
    toolkit::PictureButton* BBclose;
};

}  // namespace app
