#pragma once

#include <QColor>

namespace appearance {

// How well two colours read on each other: the ratio of their relative luminances (each plus
// 0.05), from 1 for equal luminance to 21 for black on white. Text reads well from 4.5, a
// frame or mark is seen from 3.
double ContrastRatio(const QColor& a, const QColor& b);

// The CIE 1976 colour difference under daylight: about 2 is just noticeable, and two fills 20
// apart are told apart at a glance.
double ColourDifference(const QColor& a, const QColor& b);

// Black or white, whichever reads better on background: at least 4.58 to 1 on any colour.
QColor InkFor(const QColor& background);

// The fill of a cell in the selected cell's row, column or box: 35% shade, 65% fill, per
// channel, rounded to the nearest value (halves up). Always opaque.
QColor ShadedFill(const QColor& fill, const QColor& shade);

}  // namespace appearance
