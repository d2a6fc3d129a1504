#pragma once

#include <QImage>
#include <QString>

class QWidget;

namespace appearance {
struct SkinColors;
}

namespace output {

// The 370 x 370 pixels of the screen where board stands, as the player sees them, whatever
// covers it. Where the platform cannot read the screen, the board draws itself instead.
QImage GrabBoardFromScreen(QWidget& board);

// Writes the board as the screen shows it to path as a 370 x 370 JPEG, stamped in the skin's
// digit colour with the date (bottom right), the credit line (bottom left) and the web address
// (top right). Raises std::runtime_error naming the file at fault, and std::invalid_argument
// for a digit colour that is not "#rrggbb" (the unstamped picture is then written).
void CapturePuzzlePicture(QWidget& board, const QString& path,
                          const appearance::SkinColors& colors);

}  // namespace output
