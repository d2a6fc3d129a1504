#include "skins/painter/skin_designs.h"

namespace skin_painter {

std::vector<SkinDesign> Designs() {
    std::vector<SkinDesign> designs;

    // The classic red look. Only the menu text changes from the standard colours: the menu
    // items always stand on maroon, where black text hardly reads.
    appearance::SkinColors classic;
    classic.menu_font = "#fff4e0";
    designs.push_back({"default", QColor("#d42a1f"), QColor("#a30d0a"), QColor("#6e0000"),
                       Motif::Lattice, QColor(255, 255, 255, 34), QColor("#fff4e0"),
                       QColor("#ffd27a"), classic});

    // Deep water above, sand for the given digits.
    appearance::SkinColors ocean;
    ocean.window_color = "#0d3b5e";
    ocean.button_bar = "#1a5b8a";
    ocean.menu_bar = "#1f6ea3";
    ocean.menu_font = "#e3f1fb";
    ocean.menu_select_border = "#0d3b5e";
    ocean.menu_select_color = "#cde6f7";
    ocean.menu_select_font = "#0a2740";
    ocean.status_bar = "#1a5b8a";
    ocean.status_bar_font = "#e3f1fb";
    ocean.grid1 = "#7db9e0";
    ocean.grid2 = "#b8dbf1";
    ocean.grid3 = "#64a8d6";
    ocean.grid4 = "#cbe5f5";
    ocean.grid_font = "#06213a";
    ocean.cells_locked = "#f2d9a0";
    ocean.cells_locked_font = "#4a2e00";
    ocean.conflict_font = "#6b0000";
    ocean.house_shade = "#7fffd4";
    ocean.same_digit_mark = "#005c24";
    ocean.mistake_font = "#60007c";
    designs.push_back({"ocean", QColor("#2a7fb8"), QColor("#155a8c"), QColor("#0a2f4d"),
                       Motif::Waves, QColor(255, 255, 255, 40), QColor("#e8f6ff"),
                       QColor("#f2d9a0"), ocean});

    // Moss and leaves, with wheat-coloured given digits.
    appearance::SkinColors forest;
    forest.window_color = "#1e4424";
    forest.button_bar = "#2f6a36";
    forest.menu_bar = "#3b7d43";
    forest.menu_font = "#eef6e4";
    forest.menu_select_border = "#1e4424";
    forest.menu_select_color = "#d7ecc6";
    forest.menu_select_font = "#112a14";
    forest.status_bar = "#2f6a36";
    forest.status_bar_font = "#eef6e4";
    forest.grid1 = "#9fcb8c";
    forest.grid2 = "#cde5bd";
    forest.grid3 = "#86bc72";
    forest.grid4 = "#dcedd0";
    forest.grid_font = "#0f240e";
    forest.cells_locked = "#ecc98a";
    forest.cells_locked_font = "#4a2805";
    forest.conflict_font = "#6b0000";
    forest.house_shade = "#e85868";
    forest.same_digit_mark = "#900464";
    forest.mistake_font = "#460486";
    designs.push_back({"forest", QColor("#4f9350"), QColor("#2d6a33"), QColor("#143418"),
                       Motif::Leaves, QColor(220, 255, 200, 46), QColor("#f1fae6"),
                       QColor("#ecc98a"), forest});

    // Slate by night with amber given digits. The fills stay mid-dark, so the black box lines
    // of the board still show between them.
    appearance::SkinColors night;
    night.window_color = "#161a26";
    night.button_bar = "#262c3e";
    night.menu_bar = "#313a52";
    night.menu_font = "#e6e9f5";
    night.menu_select_border = "#f0c05a";
    night.menu_select_color = "#3d4763";
    night.menu_select_font = "#ffffff";
    night.status_bar = "#262c3e";
    night.status_bar_font = "#cdd3e8";
    night.grid1 = "#4f5b7a";
    night.grid2 = "#5d6a8c";
    night.grid3 = "#465170";
    night.grid4 = "#627090";
    night.grid_font = "#ffffff";
    night.cells_locked = "#a8782a";
    night.cells_locked_font = "#000000";
    night.conflict_font = "#ffff66";
    night.house_shade = "#8050d0";
    night.same_digit_mark = "#60ffff";
    night.mistake_font = "#f0ffd0";
    designs.push_back({"night", QColor("#39435e"), QColor("#222a3d"), QColor("#0d1019"),
                       Motif::Stars, QColor(255, 248, 220, 150), QColor("#f3f0ff"),
                       QColor("#f0c05a"), night});

    return designs;
}

}  // namespace skin_painter
