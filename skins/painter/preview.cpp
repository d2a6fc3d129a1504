#include "skins/painter/preview.h"

#include <QLabel>
#include <QMenu>
#include <QPainter>

#include "app/flat_menu_style.h"
#include "app/header_bar.h"
#include "appearance/color_from_hex.h"
#include "board/board_grid.h"
#include "board/board_view.h"

namespace skin_painter {

namespace {

// A solved board to show: locked givens, the player's digits and empty cells.
void FillPreviewBoard(board::BoardView& board) {
    static const char* const kSolution =
        "534678912672195348198342567859761423426853791713924856961537284287419635345286179";
    for (int column = 0; column < 9; ++column) {
        for (int row = 0; row < 9; ++row) {
            const int shape = (column * 7 + row * 5) % 9;
            const QString digit = QString(QChar(kSolution[row * 9 + column]));
            if (shape < 3) {
                board.Locked().Append(column, row);
                board.SetCell(column, row, {digit, 0});
            } else if (shape < 6) {
                board.SetCell(column, row, {digit, 0});
            }
        }
    }
}

QImage RenderMenu(const appearance::SkinColors& colors) {
    QMenu menu;
    app::FlatMenuStyle style(colors);
    QMenu* skins = menu.addMenu(QStringLiteral("Skin"));
    menu.addAction(QStringLiteral("New Puzzle"));
    menu.addAction(QStringLiteral("Open..."));
    menu.addSeparator();
    QAction* selected = menu.addAction(QStringLiteral("Lock Squares"));
    menu.addAction(QStringLiteral("Hint"))->setCheckable(true);
    menu.actions().back()->setChecked(true);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Close"));
    skins->addAction(QStringLiteral("default"));
    app::InstallFlatMenuStyle(menu, style);
    menu.adjustSize();
    menu.setActiveAction(selected);
    return menu.grab().toImage();
}
}  // namespace

QImage RenderPreview(const SkinDesign& design, const HeaderPictures& pictures) {
    const appearance::SkinColors& colors = design.colors;
    QWidget window;
    window.resize(kBannerWidth, 478);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, appearance::QColorFromHex(colors.window_color));
    window.setPalette(palette);
    window.setAutoFillBackground(true);

    auto* header = new app::HeaderBar(&window);
    header->leftPiece->SetPicture(QPixmap::fromImage(pictures.left));
    header->middlePiece->SetPicture(QPixmap::fromImage(pictures.middle));
    header->rightPiece->SetPicture(QPixmap::fromImage(pictures.right));

    auto bar = [&](int top, int height, const QString& fill, const QString& ink,
                   const QString& text) {
        auto* strip = new QLabel(text, &window);
        strip->setGeometry(0, top, kBannerWidth, height);
        strip->setStyleSheet(
            QStringLiteral("background:%1; color:%2; padding-left:6px;").arg(fill, ink));
    };
    bar(36, 22, colors.button_bar, colors.status_bar_font, QString());
    bar(478 - 19, 19, colors.status_bar, colors.status_bar_font,
        QStringLiteral("Level: Easy     Miss.n.: 27     00 : 04 : 12     Hint enabled"));

    board::BoardView board;
    FillPreviewBoard(board);
    auto* grid = new board::BoardGrid(colors, board, &window);
    grid->move(145, 71);
    grid->RepaintAll();

    QImage shot = window.grab().toImage();
    QPainter painter(&shot);
    painter.drawImage(QPoint(8, 80), RenderMenu(colors));
    return shot;
}

}  // namespace skin_painter
