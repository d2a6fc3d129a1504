#include "output/printing.h"

#include <QPainter>
#include <QPrinter>
#include <stdexcept>

namespace output {

void PrintPicture(QPrinter& printer, const QImage& picture, int screenDpiX, int screenDpiY) {
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("Quillmark print puzzle"));
    // The print dialog has left the number of copies the player chose in the printer.
    QPainter painter;
    if (!painter.begin(&printer)) {
        throw std::runtime_error("The printer cannot print: " +
                                 printer.printerName().toStdString());
    }
    const int scaleX = printer.logicalDpiX() / screenDpiX;
    const int scaleY = printer.logicalDpiY() / screenDpiY;
    const QRect target(0, 0, picture.width() * scaleX, picture.height() * scaleY);
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const int pages = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            printer.newPage();
        }
        painter.drawImage(target, picture);
    }
    painter.end();
}

}  // namespace output
