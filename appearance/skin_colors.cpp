#include "appearance/skin_colors.h"

#include <stdexcept>

#include "appearance/color_from_hex.h"

namespace appearance {

QColor DrawingColor(const SkinColors& colors, SkinColorField key) {
    try {
        return QColorFromHex(colors.*key);
    } catch (const std::invalid_argument&) {
        return QColorFromHex(SkinColors{}.*key);
    }
}

}  // namespace appearance
