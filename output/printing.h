#pragma once

#include <QImage>

class QPrinter;

namespace output {

// Prints picture at the top left of a landscape page, scaled by the whole-number ratio of the
// printer's resolution to the screen's (screenDpiX, screenDpiY), so it prints at about its
// size on the screen; as many times as copies were chosen where the print system cannot make
// copies itself. Raises std::runtime_error when the printer cannot print.
void PrintPicture(QPrinter& printer, const QImage& picture, int screenDpiX, int screenDpiY);

}  // namespace output
