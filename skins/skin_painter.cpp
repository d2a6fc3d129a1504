// Paints the skins kept in skins/: for each one the header banner, cut into its three JPEG
// pictures, and its colors.ini. The designs live here and the files it writes are committed,
// so change a skin here and run the painter again:
//
//   cmake --build <build dir> --target skin_painter
//   <build dir>/skin_painter [--preview <folder>] [<skins folder>]
//
// The skins folder defaults to the source tree's skins/. With --preview, each skin is also
// shown on the real header and board widgets with a flat menu beside them, one
// <name>_preview.png per skin, to judge a design before committing it.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QLabel>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "app/flat_menu_style.h"
#include "app/header_bar.h"
#include "appearance/color_from_hex.h"
#include "appearance/skin_colors_file.h"
#include "board/board_grid.h"
#include "board/locked_cells.h"

namespace {

// The banner covers the whole header of the 662-pixel window and is cut into the left piece,
// the middle piece (tiled by the window, so it fits exactly once) and the right piece.
constexpr int kBannerWidth = 662;
constexpr int kBannerHeight = 30;
constexpr int kEndPieceWidth = 100;
constexpr int kJpegQuality = 90;

// Where the window draws its white header buttons, 17 x 17 each: menu, minimise, close.
constexpr std::array<QPoint, 3> kButtonSpots{{{9, 7}, {618, 7}, {636, 7}}};
constexpr int kButtonSize = 17;

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
    designs.push_back({"night", QColor("#39435e"), QColor("#222a3d"), QColor("#0d1019"),
                       Motif::Stars, QColor(255, 248, 220, 150), QColor("#f3f0ff"),
                       QColor("#f0c05a"), night});

    return designs;
}

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

struct HeaderPictures {
    QImage left;
    QImage middle;
    QImage right;
};

HeaderPictures CutBanner(const QImage& banner) {
    return {banner.copy(0, 0, kEndPieceWidth, kBannerHeight),
            banner.copy(kEndPieceWidth, 0, kBannerWidth - 2 * kEndPieceWidth, kBannerHeight),
            banner.copy(kBannerWidth - kEndPieceWidth, 0, kEndPieceWidth, kBannerHeight)};
}

bool WriteJpeg(const QImage& picture, const QString& path) {
    QImageWriter writer(path, "jpeg");
    writer.setQuality(kJpegQuality);
    if (!writer.write(picture)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

bool WriteColors(const SkinDesign& design, const QString& path) {
    QString text = QStringLiteral("; The %1 skin's colours, written by skins/skin_painter.cpp.\n")
                       .arg(QString::fromLatin1(design.name));
    text += QStringLiteral("[colors]\n");
    for (const appearance::SkinColorKey& key : appearance::kSkinColorKeys) {
        const QString& value = design.colors.*key.field;
        // Refuse to write a colour the game could not draw.
        try {
            appearance::ColorFromHex(value);
        } catch (const std::invalid_argument& error) {
            std::fprintf(stderr, "%s: %s\n", key.name, error.what());
            return false;
        }
        text += QString::fromLatin1(key.name) + u'=' + value + u'\n';
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// A solved board to show: locked givens, the player's digits and empty cells.
void FillPreviewBoard(board::BoardGrid& grid, board::LockedCells& locked) {
    static const char* const kSolution =
        "534678912672195348198342567859761423426853791713924856961537284287419635345286179";
    for (int column = 0; column < 9; ++column) {
        for (int row = 0; row < 9; ++row) {
            const int shape = (column * 7 + row * 5) % 9;
            const QString digit = QString(QChar(kSolution[row * 9 + column]));
            if (shape < 3) {
                locked.Append(column, row);
                grid.SetCellText(column, row, digit);
            } else if (shape < 6) {
                grid.SetCellText(column, row, digit);
            }
        }
    }
}

QImage RenderMenu(const appearance::SkinColors& colors) {
    QMenu menu;
    app::FlatMenuStyle style(colors);
    QMenu* skins = menu.addMenu(QStringLiteral("Skin"));
    menu.addAction(QStringLiteral("New Puzzle"));
    menu.addAction(QStringLiteral("Open..."));
    menu.addSeparator();
    QAction* selected = menu.addAction(QStringLiteral("Lock Squares"));
    menu.addAction(QStringLiteral("Hint"))->setCheckable(true);
    menu.actions().back()->setChecked(true);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Close"));
    skins->addAction(QStringLiteral("default"));
    app::InstallFlatMenuStyle(menu, style);
    menu.adjustSize();
    menu.setActiveAction(selected);
    return menu.grab().toImage();
}

QImage RenderPreview(const SkinDesign& design, const HeaderPictures& pictures) {
    const appearance::SkinColors& colors = design.colors;
    QWidget window;
    window.resize(kBannerWidth, 478);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, appearance::QColorFromHex(colors.window_color));
    window.setPalette(palette);
    window.setAutoFillBackground(true);

    auto* header = new app::HeaderBar(&window);
    header->leftPiece->SetPicture(QPixmap::fromImage(pictures.left));
    header->middlePiece->SetPicture(QPixmap::fromImage(pictures.middle));
    header->rightPiece->SetPicture(QPixmap::fromImage(pictures.right));

    auto bar = [&](int top, int height, const QString& fill, const QString& ink,
                   const QString& text) {
        auto* strip = new QLabel(text, &window);
        strip->setGeometry(0, top, kBannerWidth, height);
        strip->setStyleSheet(
            QStringLiteral("background:%1; color:%2; padding-left:6px;").arg(fill, ink));
    };
    bar(36, 22, colors.button_bar, colors.status_bar_font, QString());
    bar(478 - 19, 19, colors.status_bar, colors.status_bar_font,
        QStringLiteral("Level: Easy     Miss.n.: 27     00 : 04 : 12     Hint enabled"));

    board::LockedCells locked;
    auto* grid = new board::BoardGrid(colors, locked, &window);
    grid->move(145, 71);
    FillPreviewBoard(*grid, locked);

    QImage shot = window.grab().toImage();
    QPainter painter(&shot);
    painter.drawImage(QPoint(8, 80), RenderMenu(colors));
    return shot;
}

bool PaintSkin(const SkinDesign& design, const QDir& skinsRoot, const QString& previewDir) {
    const QString name = QString::fromLatin1(design.name);
    if (!skinsRoot.mkpath(name)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(skinsRoot.filePath(name)));
        return false;
    }
    const QDir skin(skinsRoot.filePath(name));
    const HeaderPictures pictures = CutBanner(PaintBanner(design));
    bool written = WriteJpeg(pictures.left, skin.filePath(appearance::kHeaderLeftFile)) &&
                   WriteJpeg(pictures.middle, skin.filePath(appearance::kHeaderMiddleFile)) &&
                   WriteJpeg(pictures.right, skin.filePath(appearance::kHeaderRightFile)) &&
                   WriteColors(design, skin.filePath(appearance::kSkinColorsFile));
    if (written && !previewDir.isEmpty()) {
        const QString path = QDir(previewDir).filePath(name + QStringLiteral("_preview.png"));
        written = RenderPreview(design, pictures).save(path);
    }
    std::printf("%s %s\n", written ? "painted" : "FAILED", qPrintable(skin.path()));
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);

    QString skinsRoot = QStringLiteral(QUILLMARK_SKINS_SOURCE_DIR);
    QString previewDir;
    const QStringList arguments = QApplication::arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QStringLiteral("--preview") && i + 1 < arguments.size()) {
            previewDir = arguments[++i];
        } else if (!arguments[i].startsWith(u'-')) {
            skinsRoot = arguments[i];
        } else {
            std::fprintf(stderr, "usage: skin_painter [--preview <folder>] [<skins folder>]\n");
            return 2;
        }
    }
    if (!previewDir.isEmpty() && !QDir().mkpath(previewDir)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(previewDir));
        return 1;
    }

    bool allPainted = true;
    for (const SkinDesign& design : Designs()) {
        allPainted = PaintSkin(design, QDir(skinsRoot), previewDir) && allPainted;
    }
    return allPainted ? 0 : 1;
}
