// The skins kept in skins/ and copied beside the game: complete, decodable and readable.

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <stdexcept>

#include "appearance/color_contrast.h"
#include "appearance/color_from_hex.h"
#include "appearance/skin_colors_file.h"
#include "appearance/skin_menu.h"
#include "tests/support/qt_printers.h"
#include "toolkit/ini_file.h"

namespace appearance {
namespace {

// The skins as the build copies them beside the game, where it looks for them.
const QString kSkinsDir = QStringLiteral(QUILLMARK_SKIN_DIR);

// The menu draws every item on this ground, whatever the skin.
const QColor kMenuItemGround{0x80, 0x00, 0x00};

QColor AverageColour(const QImage& image, const QRect& area) {
    double red = 0;
    double green = 0;
    double blue = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            red += pixel.red();
            green += pixel.green();
            blue += pixel.blue();
        }
    }
    const double count = double(area.width()) * area.height();
    return QColor(int(red / count), int(green / count), int(blue / count));
}

QImage ReadJpeg(const QString& path) {
    QImageReader reader(path, "jpeg");
    QImage image = reader.read();
    EXPECT_FALSE(image.isNull()) << path.toStdString() << ": "
                                 << reader.errorString().toStdString();
    return image;
}

class SkinData : public ::testing::Test {
protected:
    QStringList Skins() const { return ListSkinDirectories(kSkinsDir); }
    static QString FileOf(const QString& skin, const char* file) {
        return QDir(kSkinsDir).filePath(skin + u'/' + QString::fromLatin1(file));
    }
};

TEST_F(SkinData, TheClassicSkinAndAtLeastTwoOthersAreKept) {
    const QStringList skins = Skins();
    EXPECT_TRUE(skins.contains("default")) << ::testing::PrintToString(skins);
    EXPECT_GE(skins.size(), 3) << ::testing::PrintToString(skins);
    // Every skin shows up in the Skin submenu.
    const SkinMenuItems menu = SkinMenuOrder(skins);
    EXPECT_TRUE(menu.defaultItemActive);
    EXPECT_EQ(menu.extraItems.size() + 1, skins.size());
}

TEST_F(SkinData, EverySkinHasItsHeaderPicturesAtTheirSizes) {
    for (const QString& skin : Skins()) {
        SCOPED_TRACE(skin.toStdString());
        for (const char* file :
             {kHeaderLeftFile, kHeaderMiddleFile, kHeaderRightFile, kSkinColorsFile}) {
            EXPECT_TRUE(QFile::exists(FileOf(skin, file))) << file;
        }
        EXPECT_EQ(ReadJpeg(FileOf(skin, kHeaderLeftFile)).size(), QSize(100, 30));
        EXPECT_EQ(ReadJpeg(FileOf(skin, kHeaderRightFile)).size(), QSize(100, 30));
        // The middle piece is tiled, so any width fills it; the height is the header's.
        const QImage middle = ReadJpeg(FileOf(skin, kHeaderMiddleFile));
        EXPECT_GT(middle.width(), 0);
        EXPECT_EQ(middle.height(), 30);
    }
}

TEST_F(SkinData, EveryColourIsWrittenOutAsHashAndSixHexDigits) {
    const QRegularExpression colour(QStringLiteral("^#[0-9a-fA-F]{6}$"));
    for (const QString& skin : Skins()) {
        SCOPED_TRACE(skin.toStdString());
        const toolkit::IniFile file(FileOf(skin, kSkinColorsFile));
        for (const SkinColorKey& key : kSkinColorKeys) {
            const QString value = file.Read("colors", key.name, "NO");
            EXPECT_TRUE(colour.match(value).hasMatch()) << key.name << "=" << value.toStdString();
            EXPECT_NO_THROW(ColorFromHex(value)) << key.name;
        }
    }
}

TEST_F(SkinData, TheClassicSkinChangesOnlyTheMenuText) {
    const SkinColors classic = ReadSkinColors(FileOf("default", kSkinColorsFile));
    const SkinColors standard;
    for (const SkinColorKey& key : kSkinColorKeys) {
        if (std::string_view(key.name) != "menu_font") {
            EXPECT_EQ(classic.*key.field, standard.*key.field) << key.name;
        }
    }
    EXPECT_GT(ContrastRatio(QColorFromHex(classic.menu_font), kMenuItemGround),
              ContrastRatio(QColorFromHex(standard.menu_font), kMenuItemGround));
}

TEST_F(SkinData, EverySkinReadsWell) {
    for (const QString& skin : Skins()) {
        SCOPED_TRACE(skin.toStdString());
        const SkinColors colors = ReadSkinColors(FileOf(skin, kSkinColorsFile));
        const QColor digit = QColorFromHex(colors.grid_font);
        const QColor conflict = QColorFromHex(colors.conflict_font);
        const QColor mistake = QColorFromHex(colors.mistake_font);
        const QColor sameDigit = QColorFromHex(colors.same_digit_mark);
        const QColor shade = QColorFromHex(colors.house_shade);
        const QColor locked = QColorFromHex(colors.cells_locked);
        const QColor shadedLocked = ShadedFill(locked, shade);
        for (const QString* fill : {&colors.grid1, &colors.grid2, &colors.grid3, &colors.grid4}) {
            SCOPED_TRACE(fill->toStdString());
            const QColor plain = QColorFromHex(*fill);
            const QColor shaded = ShadedFill(plain, shade);
            // The selected cell's row, column and box stand out, and locked cells stand apart
            // from the others, shaded or not.
            EXPECT_GE(ColourDifference(plain, shaded), 8.0);
            EXPECT_GE(ColourDifference(locked, plain), 20.0);
            EXPECT_GE(ColourDifference(shadedLocked, shaded), 20.0);
            for (const QColor& cell : {plain, shaded}) {
                SCOPED_TRACE(cell.name().toStdString());
                // Digits, repeated digits and mistakes read on every cell; the same-digit frame
                // is seen on it. Repeated digits may be as bright as large text allows (the
                // digits are 33 pixels high), so that they stand apart from dark digits.
                EXPECT_GE(ContrastRatio(digit, cell), 4.5);
                EXPECT_GE(ContrastRatio(conflict, cell), 3.0);
                EXPECT_GE(ContrastRatio(mistake, cell), 4.5);
                EXPECT_GE(ContrastRatio(sameDigit, cell), 3.0);
            }
        }
        EXPECT_GE(ColourDifference(locked, shadedLocked), 8.0);
        for (const QColor& cell : {locked, shadedLocked}) {
            SCOPED_TRACE(cell.name().toStdString());
            EXPECT_GE(ContrastRatio(QColorFromHex(colors.cells_locked_font), cell), 4.5);
            EXPECT_GE(ContrastRatio(conflict, cell), 3.0);
            EXPECT_GE(ContrastRatio(sameDigit, cell), 3.0);
        }
        // Repeated digits and mistakes stand apart from the other digits and from each other.
        EXPECT_GE(ColourDifference(conflict, digit), 20.0);
        EXPECT_GE(ColourDifference(mistake, digit), 20.0);
        EXPECT_GE(ColourDifference(conflict, mistake), 20.0);

        EXPECT_GE(ContrastRatio(QColorFromHex(colors.menu_font), kMenuItemGround), 4.5);
        EXPECT_GE(ContrastRatio(QColorFromHex(colors.menu_select_font),
                                QColorFromHex(colors.menu_select_color)),
                  4.5);
        EXPECT_GE(
            ContrastRatio(QColorFromHex(colors.status_bar_font), QColorFromHex(colors.status_bar)),
            4.5);
    }
}

TEST(ShadedFill, TakesThirtyFivePartsOfTheShadeToSixtyFiveOfTheFill) {
    EXPECT_EQ(ShadedFill(Qt::black, Qt::white).name(QColor::HexArgb), "#ff595959");
    EXPECT_EQ(ShadedFill(Qt::white, Qt::black).name(QColor::HexArgb), "#ffa6a6a6");
    // Each channel on its own, 4.5 rounding up to 5; the cell is painted opaque.
    EXPECT_EQ(ShadedFill(QColor(1, 200, 0, 10), QColor(11, 0, 100)).name(QColor::HexArgb),
              "#ff058223");
}

TEST_F(SkinData, HeaderButtonSpotsAreDarkEnoughForWhiteGlyphs) {
    // The 17 x 17 buttons: menu at (9, 7) on the left piece; minimise and close at (618, 7)
    // and (636, 7) in the window, 56 and 74 pixels into the right piece.
    for (const QString& skin : Skins()) {
        SCOPED_TRACE(skin.toStdString());
        const QImage left = ReadJpeg(FileOf(skin, kHeaderLeftFile));
        const QImage right = ReadJpeg(FileOf(skin, kHeaderRightFile));
        EXPECT_GE(ContrastRatio(Qt::white, AverageColour(left, QRect(9, 7, 17, 17))), 4.5);
        EXPECT_GE(ContrastRatio(Qt::white, AverageColour(right, QRect(56, 7, 17, 17))), 4.5);
        EXPECT_GE(ContrastRatio(Qt::white, AverageColour(right, QRect(74, 7, 17, 17))), 4.5);
    }
}

}  // namespace
}  // namespace appearance
