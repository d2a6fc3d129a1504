// Paints the skins kept in skins/: for each one the header banner, cut into its three JPEG
// pictures, and its colors.ini. The designs live in skin_designs.cpp and the files it writes
// are committed, so change a skin there and run the painter again:
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
#include <cstdio>
#include <stdexcept>

#include "appearance/color_from_hex.h"
#include "appearance/skin_colors_file.h"
#include "skins/painter/banner.h"
#include "skins/painter/preview.h"
#include "skins/painter/skin_designs.h"
#include "toolkit/jpeg_file.h"

namespace {

using skin_painter::SkinDesign;

// Header pictures are written by the game's own JPEG writer, as every picture it makes.
bool WriteJpeg(const QImage& picture, const QString& path) {
    try {
        toolkit::WriteJpeg(picture, path);
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return false;
    }
    return true;
}

bool WriteColors(const SkinDesign& design, const QString& path) {
    QString text = QStringLiteral("; The %1 skin's colours, written by the skin painter.\n")
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

bool PaintSkin(const SkinDesign& design, const QDir& skinsRoot, const QString& previewDir) {
    const QString name = QString::fromLatin1(design.name);
    if (!skinsRoot.mkpath(name)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(skinsRoot.filePath(name)));
        return false;
    }
    const QDir skin(skinsRoot.filePath(name));
    const skin_painter::HeaderPictures pictures =
        skin_painter::CutBanner(skin_painter::PaintBanner(design));
    bool written = WriteJpeg(pictures.left, skin.filePath(appearance::kHeaderLeftFile)) &&
                   WriteJpeg(pictures.middle, skin.filePath(appearance::kHeaderMiddleFile)) &&
                   WriteJpeg(pictures.right, skin.filePath(appearance::kHeaderRightFile)) &&
                   WriteColors(design, skin.filePath(appearance::kSkinColorsFile));
    if (written && !previewDir.isEmpty()) {
        const QString path = QDir(previewDir).filePath(name + QStringLiteral("_preview.png"));
        written = skin_painter::RenderPreview(design, pictures).save(path);
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
    for (const SkinDesign& design : skin_painter::Designs()) {
        allPainted = PaintSkin(design, QDir(skinsRoot), previewDir) && allPainted;
    }
    return allPainted ? 0 : 1;
}
