#include "appearance/color_from_hex.h"

#include <stdexcept>

namespace appearance {

namespace {

int HexDigit(QChar c) {
    if (c >= u'0' && c <= u'9') {
        return c.unicode() - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c.unicode() - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c.unicode() - u'A' + 10;
    }
    return -1;
}

}  // namespace

ColorValue ColorFromHex(const QString& text) {
    int channels[3] = {0, 0, 0};
    for (int i = 0; i < 6; ++i) {
        int digit = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        if (digit < 0) {
            throw std::invalid_argument("'" + text.toStdString() + "' is not a valid colour");
        }
        channels[i / 2] = channels[i / 2] * 16 + digit;
    }
    return channels[0] + 256 * channels[1] + 65536 * channels[2];
}

QColor ToQColor(ColorValue value) {
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

}  // namespace appearance
