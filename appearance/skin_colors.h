#pragma once

#include <QColor>
#include <QString>

namespace appearance {

// The colours of the current skin, held as the "#rrggbb" texts read from the skin's
// colour file and turned into colours each time they are used, so a changed skin shows at
// the next paint. A new value holds the standard skin's colours.
struct SkinColors {
    QString window_color = "#990000";
    QString button_bar = "#c20000";
    QString menu_bar = "#c30101";
    QString menu_font = "#000000";
    QString menu_select_border = "#335ea8";
    QString menu_select_color = "#becbe3";
    QString menu_select_font = "#000000";
    QString status_bar = "#c20000";
    QString status_bar_font = "#e8e7e8";
    QString grid1 = "#f17777";
    QString grid2 = "#f2b1b1";
    QString grid3 = "#f15f5f";
    QString grid4 = "#f2bfbf";
    QString grid_font = "#000000";
    QString cells_locked = "#becbe3";
    QString cells_locked_font = "#000000";
    // Digits that repeat in their row, column or box, and the mark of their cell, while hints
    // are on.
    QString conflict_font = "#0000e0";
    // Mixed into the fill of every cell in the selected cell's row, column and box, 35 parts
    // to the fill's 65 (ShadedFill).
    QString house_shade = "#ffc000";
    // The frame inside every cell holding the selected digit, and the square behind that digit
    // among a cell's notes.
    QString same_digit_mark = "#004c00";
    // Digits the player wrote that differ from the solution, and the corner mark of their cell.
    QString mistake_font = "#580000";

    bool operator==(const SkinColors&) const = default;
};

// One of the colours, for drawing. A malformed text draws in the standard skin's
// colour for that key: painting never fails; where a colour is applied, its conversion is
// checked and reported instead.
using SkinColorField = QString SkinColors::*;
QColor DrawingColor(const SkinColors& colors, SkinColorField key);

}  // namespace appearance
