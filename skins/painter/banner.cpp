#include "skins/painter/banner.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>
#include <cmath>
#include <numbers>

namespace skin_painter {

namespace {

// Where the window draws its white header buttons, 17 x 17 each: menu, minimise, close.
constexpr std::array<QPoint, 3> kButtonSpots{{{9, 7}, {618, 7}, {636, 7}}};
constexpr int kButtonSize = 17;

// The same stars every run, so painting again changes no committed picture by itself.
class FixedRandom {
public:
    explicit FixedRandom(quint32 seed) : state_(seed) {}
    // Uniform in [0, 1).
    double Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) / double(1u << 24);
    }

private:
    quint32 state_;
};

void PaintLattice(QPainter& painter, const QColor& ink) {
    // Rows of little 3 x 3 boxes, the board in miniature.
    constexpr int kSquare = 3;
    constexpr int kGap = 1;
    constexpr int kPitch = 18;
    const int boxSize = 3 * kSquare + 2 * kGap;
    const int top = (kBannerHeight - boxSize) / 2;
    for (int left = 4; left + boxSize <= kBannerWidth; left += kPitch) {
        for (int cell = 0; cell < 9; ++cell) {
            QColor shade = ink;
            shade.setAlpha(cell % 2 == 0 ? ink.alpha() : ink.alpha() / 2);
            painter.fillRect(left + (cell % 3) * (kSquare + kGap),
                             top + (cell / 3) * (kSquare + kGap), kSquare, kSquare, shade);
        }
    }
}

void PaintWaves(QPainter& painter, const QColor& ink) {
    painter.setBrush(Qt::NoBrush);
    for (int wave = 0; wave < 4; ++wave) {
        QPainterPath path;
        const double base = 7.0 + wave * 6.0;
        const double amplitude = 2.0 + (wave % 2);
        const double length = 46.0 + wave * 9.0;
        for (int x = 0; x <= kBannerWidth; x += 2) {
            const double y =
                base + amplitude * std::sin(2 * std::numbers::pi * x / length + wave * 1.3);
            x == 0 ? path.moveTo(x, y) : path.lineTo(x, y);
        }
        QColor shade = ink;
        shade.setAlpha(ink.alpha() - wave * 6);
        painter.setPen(QPen(shade, 1.2));
        painter.drawPath(path);
    }
}

void PaintLeaves(QPainter& painter, const QColor& ink) {
    // A vine along the strip with a leaf on alternate sides every few pixels.
    constexpr double kLength = 64.0;
    auto vineY = [](double x) { return 15.0 + 5.0 * std::sin(2 * std::numbers::pi * x / kLength); };
    QPainterPath vine;
    vine.moveTo(0, vineY(0));
    for (int x = 2; x <= kBannerWidth; x += 2) {
        vine.lineTo(x, vineY(x));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink, 1.0));
    painter.drawPath(vine);

    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    int side = 1;
    for (double x = 6; x < kBannerWidth; x += 11, side = -side) {
        painter.save();
        painter.translate(x, vineY(x));
        painter.rotate(side * 40.0);
        QPainterPath leaf;
        leaf.moveTo(0, 0);
        leaf.quadTo(4, -3.2 * side, 9, 0);
        leaf.quadTo(4, 3.2 * side, 0, 0);
        painter.drawPath(leaf);
        painter.restore();
    }
}

void PaintStars(QPainter& painter, const QColor& ink) {
    FixedRandom random(20240611u);
    painter.setPen(Qt::NoPen);
    for (int star = 0; star < 90; ++star) {
        const double x = random.Next() * kBannerWidth;
        const double y = 2 + random.Next() * (kBannerHeight - 4);
        const double size = 0.6 + random.Next() * random.Next() * 1.4;
        QColor shade = ink;
        shade.setAlphaF(ink.alphaF() * (0.3 + 0.7 * random.Next()));
        painter.setBrush(shade);
        painter.drawEllipse(QPointF(x, y), size, size);
    }
    // A crescent moon to the right of the name.
    QPainterPath moon;
    moon.addEllipse(QPointF(420, 15), 8, 8);
    QPainterPath bite;
    bite.addEllipse(QPointF(424, 12), 7.5, 7.5);
    painter.setBrush(QColor(255, 236, 180, 200));
    painter.drawPath(moon.subtracted(bite));
}

// A feather about 22 pixels long, leaning right as in a writing hand, its nib at tip.
void PaintQuill(QPainter& painter, QPointF tip, const QColor& ink) {
    painter.save();
    painter.translate(tip);
    painter.rotate(35);
    QPainterPath vane;
    vane.moveTo(0, 0);
    vane.cubicTo(-2.5, -6, -4.5, -14, -2, -22);
    vane.cubicTo(2.5, -16, 3, -8, 0, 0);
    painter.setPen(Qt::NoPen);
    QColor shadow(0, 0, 0, 90);
    painter.setBrush(shadow);
    painter.drawPath(vane.translated(1, 1));
    painter.setBrush(ink);
    painter.drawPath(vane);
    painter.setPen(QPen(ink.darker(160), 0.8));
    painter.drawLine(QPointF(0, 2), QPointF(-1.2, -18));
    painter.restore();
}

void PaintTitle(QPainter& painter, const SkinDesign& design) {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(17);
    font.setBold(true);
    font.setItalic(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
    painter.setFont(font);
    const QString title = QStringLiteral("Quillmark");
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(title);
    const double left = (kBannerWidth - width) / 2 + 8;
    const double baseline = (kBannerHeight + metrics.capHeight()) / 2;

    // A soft dark bed under the name keeps it readable over any motif.
    QRadialGradient bed(QPointF(kBannerWidth / 2.0, kBannerHeight / 2.0), width * 0.75);
    bed.setColorAt(0, QColor(0, 0, 0, 70));
    bed.setColorAt(1, QColor(0, 0, 0, 0));
    painter.save();
    painter.scale(1, 0.3);
    painter.fillRect(QRectF(0, 0, kBannerWidth, kBannerHeight / 0.3), bed);
    painter.restore();

    painter.setPen(QColor(0, 0, 0, 150));
    painter.drawText(QPointF(left + 1, baseline + 1), title);
    painter.setPen(design.titleInk);
    painter.drawText(QPointF(left, baseline), title);
    PaintQuill(painter, QPointF(left - 19, baseline + 1), design.quillInk);
}

// Dark wells behind the white buttons, so their glyphs read whatever lies around them.
void PaintButtonWells(QPainter& painter) {
    for (QPoint spot : kButtonSpots) {
        const QPointF centre = QRectF(spot, QSizeF(kButtonSize, kButtonSize)).center();
        QRadialGradient well(centre, 15);
        well.setColorAt(0, QColor(0, 0, 0, 110));
        well.setColorAt(0.6, QColor(0, 0, 0, 60));
        well.setColorAt(1, QColor(0, 0, 0, 0));
        painter.fillRect(QRectF(centre.x() - 15, 0, 30, kBannerHeight), well);
    }
}

}  // namespace

QImage PaintBanner(const SkinDesign& design) {
    QImage banner(kBannerWidth, kBannerHeight, QImage::Format_RGB32);
    QPainter painter(&banner);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient ground(0, 0, 0, kBannerHeight);
    ground.setColorAt(0, design.top);
    ground.setColorAt(0.55, design.middle);
    ground.setColorAt(1, design.bottom);
    painter.fillRect(banner.rect(), ground);

    switch (design.motif) {
        case Motif::Lattice:
            PaintLattice(painter, design.motifInk);
            break;
        case Motif::Waves:
            PaintWaves(painter, design.motifInk);
            break;
        case Motif::Leaves:
            PaintLeaves(painter, design.motifInk);
            break;
        case Motif::Stars:
            PaintStars(painter, design.motifInk);
            break;
    }

    // Glass: a sheen over the upper half, a light line on top and a dark one at the bottom.
    QLinearGradient sheen(0, 0, 0, kBannerHeight / 2.0);
    sheen.setColorAt(0, QColor(255, 255, 255, 60));
    sheen.setColorAt(1, QColor(255, 255, 255, 8));
    painter.fillRect(QRectF(0, 0, kBannerWidth, kBannerHeight / 2.0), sheen);
    painter.fillRect(0, 0, kBannerWidth, 1, QColor(255, 255, 255, 70));
    painter.fillRect(0, kBannerHeight - 1, kBannerWidth, 1, QColor(0, 0, 0, 90));

    // Both ends darken towards the window's edges, where the buttons are.
    QLinearGradient ends(0, 0, kBannerWidth, 0);
    ends.setColorAt(0, QColor(0, 0, 0, 70));
    ends.setColorAt(0.12, QColor(0, 0, 0, 0));
    ends.setColorAt(0.88, QColor(0, 0, 0, 0));
    ends.setColorAt(1, QColor(0, 0, 0, 70));
    painter.fillRect(banner.rect(), ends);

    PaintButtonWells(painter);
    PaintTitle(painter, design);
    return banner;
}

HeaderPictures CutBanner(const QImage& banner) {
    return {banner.copy(0, 0, kEndPieceWidth, kBannerHeight),
            banner.copy(kEndPieceWidth, 0, kBannerWidth - 2 * kEndPieceWidth, kBannerHeight),
            banner.copy(kBannerWidth - kEndPieceWidth, 0, kEndPieceWidth, kBannerHeight)};
}

}  // namespace skin_painter
