// The puzzle picture: the board as the screen shows it, stamped with the date, the credit
// line and the web address.

#include <QGuiApplication>
#include <QScreen>

#include "app/main_window.h"
#include "appearance/color_from_hex.h"
#include "board/board_grid.h"
#include "board/cell_layout.h"
#include "output/jpeg_file.h"
#include "output/picture_stamp.h"

namespace {

constexpr int kPictureSize = board::kBoardSize;

}  // namespace

QImage TFsudoku_main::GrabBoardFromScreen() {
    // The window has no caption bar or frame, so its corner plus the board's place is where
    // the board stands on the screen. Whatever covers it there is in the picture too.
    const QPoint corner = frameGeometry().topLeft() + StringGrid->pos();
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
    // Where the platform cannot read the screen, the board draws itself instead.
    if (picture.size() != QSize(kPictureSize, kPictureSize)) {
        picture = StringGrid->grab().toImage();
    }
    return picture.convertToFormat(QImage::Format_RGB32);
}

void TFsudoku_main::CapturePuzzlePicture() {
    output::WriteJpeg(GrabBoardFromScreen(), PicturePath);
    StampPictureText(QStringLiteral("SD"), PicturePath, PicturePath, QString(), 4, 5, 5);
    StampPictureText(QStringLiteral("SC"), PicturePath, PicturePath, QString(), 3, 5, 5);
    StampPictureText(QStringLiteral("SW"), PicturePath, PicturePath, QString(), 2, 5, 0);
}

void TFsudoku_main::StampPictureText(const QString& options, const QString& inputPath,
                                     const QString& outputPath, const QString& text, int mode,
                                     int xMargin, int yMargin) {
    output::StampPictureFile(options, inputPath, outputPath, text, mode, xMargin, yMargin,
                             appearance::QColorFromHex(SkinColors.grid_font));
}
