#pragma once

#include <QColor>
#include <QString>

namespace appearance {

// A colour value: red in the lowest byte, green in the next, blue in the third.
using ColorValue = int;

// "#rrggbb" to its colour value; the first character is not looked at and anything after the
// seventh is ignored, upper- and lower-case digits alike ("#335ea8" gives 0xa85e33).
// Raises std::invalid_argument, naming the text, when characters 2 to 7 are not six
// hexadecimal digits.
ColorValue ColorFromHex(const QString& text);

QColor ToQColor(ColorValue value);

// Both steps at once, for drawing.
inline QColor QColorFromHex(const QString& text) {
    return ToQColor(ColorFromHex(text));
}

}  // namespace appearance
