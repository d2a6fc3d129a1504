#include "output/puzzle_picture.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "appearance/color_from_hex.h"
#include "appearance/skin_colors.h"
#include "board/cell_layout.h"
#include "output/picture_stamp.h"
#include "toolkit/jpeg_file.h"

namespace output {

namespace {

constexpr int kPictureSize = board::kBoardSize;

}  // namespace

QImage GrabBoardFromScreen(QWidget& board) {
    // The window has no caption bar or frame, so its corner plus the board's place is where
    // the board stands on the screen.
    const QPoint corner = board.window()->frameGeometry().topLeft() + board.pos();
    QScreen* screen = QGuiApplication::screenAt(corner);
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    QImage picture;
    if (screen != nullptr) {
        const QPoint onScreen = corner - screen->geometry().topLeft();
        picture =
            screen->grabWindow(0, onScreen.x(), onScreen.y(), kPictureSize, kPictureSize).toImage();
    }
    if (picture.size() != QSize(kPictureSize, kPictureSize)) {
        picture = board.grab().toImage();
    }
    return picture.convertToFormat(QImage::Format_RGB32);
}

void CapturePuzzlePicture(QWidget& board, const QString& path,
                          const appearance::SkinColors& colors) {
    toolkit::WriteJpeg(GrabBoardFromScreen(board), path);
    const auto stamp = [&](const char* options, int mode, int xMargin, int yMargin) {
        StampPictureFile(QString::fromLatin1(options), path, path, QString(), mode, xMargin,
                         yMargin, appearance::QColorFromHex(colors.grid_font));
    };
    stamp("SD", 4, 5, 5);
    stamp("SC", 3, 5, 5);
    stamp("SW", 2, 5, 0);
}

}  // namespace output
