#pragma once

#include <QImage>

#include "skins/painter/banner.h"
#include "skins/painter/skin_designs.h"

namespace skin_painter {

// The skin on the real header and board widgets with a flat menu beside them, to judge a
// design before committing it.
QImage RenderPreview(const SkinDesign& design, const HeaderPictures& pictures);

}  // namespace skin_painter
