#pragma once

#include <QString>
#include <array>

#include "appearance/skin_colors.h"

namespace appearance {

// One key of a skin's colour file and the field of SkinColors it fills.
struct SkinColorKey {
    const char* name;
    QString SkinColors::*field;
};

// The keys of section [colors], in the order they are read and written.
inline constexpr std::array<SkinColorKey, 20> kSkinColorKeys{{
    {"window_color", &SkinColors::window_color},
    {"button_bar", &SkinColors::button_bar},
    {"menu_bar", &SkinColors::menu_bar},
    {"menu_font", &SkinColors::menu_font},
    {"menu_select_border", &SkinColors::menu_select_border},
    {"menu_select_color", &SkinColors::menu_select_color},
    {"menu_select_font", &SkinColors::menu_select_font},
    {"status_bar", &SkinColors::status_bar},
    {"status_bar_font", &SkinColors::status_bar_font},
    {"grid1", &SkinColors::grid1},
    {"grid2", &SkinColors::grid2},
    {"grid3", &SkinColors::grid3},
    {"grid4", &SkinColors::grid4},
    {"grid_font", &SkinColors::grid_font},
    {"cells_locked", &SkinColors::cells_locked},
    {"cells_locked_font", &SkinColors::cells_locked_font},
    {"conflict_font", &SkinColors::conflict_font},
    {"house_shade", &SkinColors::house_shade},
    {"same_digit_mark", &SkinColors::same_digit_mark},
    {"mistake_font", &SkinColors::mistake_font},
}};

// The files of a skin directory skin/<name>/: the three header pictures (left and right
// 100 x 30, the middle one tiled across the rest) and the colour file.
inline constexpr const char* kHeaderLeftFile = "header_left.jpg";
inline constexpr const char* kHeaderMiddleFile = "header.jpg";
inline constexpr const char* kHeaderRightFile = "header_right.jpg";
inline constexpr const char* kSkinColorsFile = "colors.ini";

// The colours of the colour file at colorsPath. Each key of kSkinColorKeys is looked up in
// section [colors] (names without regard to case, the first match winning); a key that is
// missing, empty or exactly "NO" keeps its standard colour, and any other value is taken as
// written, unchecked, so a malformed colour only fails where it is drawn. A missing or
// unreadable file gives the standard skin.
SkinColors ReadSkinColors(const QString& colorsPath);

}  // namespace appearance
