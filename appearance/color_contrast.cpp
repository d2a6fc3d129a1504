#include "appearance/color_contrast.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace appearance {

namespace {

double Linear(int channel) {
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& color) {
    return 0.2126 * Linear(color.red()) + 0.7152 * Linear(color.green()) +
           0.0722 * Linear(color.blue());
}

std::array<double, 3> Lab(const QColor& color) {
    const double r = Linear(color.red());
    const double g = Linear(color.green());
    const double b = Linear(color.blue());
    auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
    const double fx = f((0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047);
    const double fy = f(0.2126 * r + 0.7152 * g + 0.0722 * b);
    const double fz = f((0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double ColourDifference(const QColor& a, const QColor& b) {
    const std::array<double, 3> la = Lab(a);
    const std::array<double, 3> lb = Lab(b);
    return std::hypot(la[0] - lb[0], la[1] - lb[1], la[2] - lb[2]);
}

QColor InkFor(const QColor& background) {
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}

QColor ShadedFill(const QColor& fill, const QColor& shade) {
    // Counted in hundredths of a step, so a mix that lands exactly on a half always rounds up.
    auto mix = [](int fillChannel, int shadeChannel) {
        return (65 * fillChannel + 35 * shadeChannel + 50) / 100;
    };
    return QColor(mix(fill.red(), shade.red()), mix(fill.green(), shade.green()),
                  mix(fill.blue(), shade.blue()));
}

}  // namespace appearance
