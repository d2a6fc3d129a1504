#pragma once

#include <QColor>
#include <vector>

#include "appearance/skin_colors.h"

namespace skin_painter {

// How each skin looks: its header banner and its twenty colours.
enum class Motif { Lattice, Waves, Leaves, Stars };

struct SkinDesign {
    const char* name;
    // The banner's vertical gradient, top to bottom.
    QColor top;
    QColor middle;
    QColor bottom;
    Motif motif;
    // The motif's ink, usually light and mostly transparent.
    QColor motifInk;
    // The program's name and the quill beside it.
    QColor titleInk;
    QColor quillInk;
    appearance::SkinColors colors;
};

// Every skin the painter makes, "default" first.
std::vector<SkinDesign> Designs();

}  // namespace skin_painter
