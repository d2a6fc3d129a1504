#pragma once

#include <QImage>

#include "skins/painter/skin_designs.h"

namespace skin_painter {

// The banner covers the whole header of the 662-pixel window and is cut into the left piece,
// the middle piece (tiled by the window, so it fits exactly once) and the right piece.
constexpr int kBannerWidth = 662;
constexpr int kBannerHeight = 30;
constexpr int kEndPieceWidth = 100;

// A skin's whole header: gradient, motif, glass, wells behind the window's buttons, title.
QImage PaintBanner(const SkinDesign& design);

struct HeaderPictures {
    QImage left;
    QImage middle;
    QImage right;
};

HeaderPictures CutBanner(const QImage& banner);

}  // namespace skin_painter
