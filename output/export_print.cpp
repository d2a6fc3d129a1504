// Saving the puzzle picture under a chosen name, and printing it. Both commands only set the
// picture's path and start a one-shot timer; the picture is taken when it fires, so that the
// menu or dialog of the command is no longer over the board.

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <stdexcept>

#include "app/main_window.h"
#include "output/jpeg_file.h"

namespace {

// A pending timer keeps its firing time: a repeated command does not put it off.
void StartOnce(QTimer& timer) {
    if (!timer.isActive()) {
        timer.start();
    }
}

// The temporary print picture goes whatever happens to the print.
class RemoveOnExit {
public:
    explicit RemoveOnExit(QString path) : path_(std::move(path)) {}
    ~RemoveOnExit() { QFile::remove(path_); }
    RemoveOnExit(const RemoveOnExit&) = delete;
    RemoveOnExit& operator=(const RemoveOnExit&) = delete;

private:
    QString path_;
};

}  // namespace

void TFsudoku_main::SavePuzzleImage1Click() {
    const std::optional<QString> path =
        ChooseSavePath(QStringLiteral("Save the Quillmark puzzle image"),
                       QStringLiteral("JPEG (*.jpg)"), QStringLiteral("jpg"));
    if (!path) {
        return;
    }
    PicturePath = *path;
    StartOnce(*Timer_salva_img);
}

void TFsudoku_main::Timer_salva_imgTimer() {
    Timer_salva_img->stop();
    CapturePuzzlePicture();
    Dialogs().ShowMessage(app::BoxKind::Information,
                          QStringLiteral("Quillmark puzzle image saved."));
}

void TFsudoku_main::Print1Click() {
    PicturePath = PrintPicturePath;
    StartOnce(*Timer_stampa);
}

void TFsudoku_main::Timer_stampaTimer() {
    Timer_stampa->stop();
    const RemoveOnExit removePrintPicture(PrintPicturePath);
    CapturePuzzlePicture();
    Image1 = output::ReadJpeg(PrintPicturePath);

    QPrinter printer(QPrinter::HighResolution);
    if (QPrinterInfo::defaultPrinter().isNull()) {
        // No printer on this system: print into a PDF document.
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(
            QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                .absoluteFilePath(QStringLiteral("Quillmark puzzle.pdf")));
    }
    if (Dialogs().AskPrint(printer)) {
        PrintPicture(printer, Image1);
    }
}

void TFsudoku_main::PrintPicture(QPrinter& printer, const QImage& picture) {
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("Quillmark print puzzle"));
    // The print dialog has left the number of copies the player chose in the printer.
    QPainter painter;
    if (!painter.begin(&printer)) {
        throw std::runtime_error("The printer cannot print: " +
                                 printer.printerName().toStdString());
    }
    // Whole-number scales, so the picture prints at about its size on the screen.
    const int scaleX = printer.logicalDpiX() / logicalDpiX();
    const int scaleY = printer.logicalDpiY() / logicalDpiY();
    const QRect target(0, 0, picture.width() * scaleX, picture.height() * scaleY);
    painter.setRenderHint(QPainter::LosslessImageRendering);
    // Where the print system cannot make copies itself, each copy is a page of its own.
    const int pages = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            printer.newPage();
        }
        painter.drawImage(target, picture);
    }
    painter.end();
}
