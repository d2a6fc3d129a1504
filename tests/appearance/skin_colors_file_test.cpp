#include <gtest/gtest.h>

#include <QFile>
#include <set>
#include <stdexcept>
#include <string>

#include "appearance/color_from_hex.h"
#include "appearance/skin_colors_file.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scratch_dir.h"

namespace appearance {
namespace {

class SkinColorsFile : public ::testing::Test {
protected:
    // Writes colors.ini with the given text and returns its path.
    QString WriteColors(const QByteArray& text) {
        const QString path = QString::fromStdString(scratch_.Path("colors.ini"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
    QString MissingColors() const { return QString::fromStdString(scratch_.Path("colors.ini")); }

    testing_support::ScratchDir scratch_;
};

// Every colour but the one named keeps the standard skin's value.
void ExpectStandardExcept(const SkinColors& colors, const std::set<std::string>& changed) {
    const SkinColors standard;
    for (const SkinColorKey& key : kSkinColorKeys) {
        if (!changed.contains(key.name)) {
            EXPECT_EQ(colors.*key.field, standard.*key.field) << key.name;
        }
    }
}

TEST_F(SkinColorsFile, KeysAreTheColourNamesInFileOrder) {
    const char* const expected[] = {"window_color",
                                    "button_bar",
                                    "menu_bar",
                                    "menu_font",
                                    "menu_select_border",
                                    "menu_select_color",
                                    "menu_select_font",
                                    "status_bar",
                                    "status_bar_font",
                                    "grid1",
                                    "grid2",
                                    "grid3",
                                    "grid4",
                                    "grid_font",
                                    "cells_locked",
                                    "cells_locked_font",
                                    "conflict_font",
                                    "house_shade",
                                    "same_digit_mark",
                                    "mistake_font"};
    ASSERT_EQ(std::size(expected), kSkinColorKeys.size());
    for (size_t i = 0; i < kSkinColorKeys.size(); ++i) {
        EXPECT_STREQ(kSkinColorKeys[i].name, expected[i]);
        for (size_t j = 0; j < i; ++j) {
            EXPECT_NE(kSkinColorKeys[i].field, kSkinColorKeys[j].field)
                << expected[i] << " and " << expected[j] << " fill the same colour";
        }
    }
}

TEST_F(SkinColorsFile, SkinWithoutColourFileGivesTheStandardSkin) {
    ExpectStandardExcept(ReadSkinColors(MissingColors()), {});
    // An empty file and a file without the section read the same way.
    ExpectStandardExcept(ReadSkinColors(WriteColors("")), {});
    ExpectStandardExcept(ReadSkinColors(WriteColors("[param]\ngrid1=#111111\n")), {});
}

TEST_F(SkinColorsFile, OneColourChangesOnlyThatColour) {
    const SkinColors colors = ReadSkinColors(WriteColors("[colors]\r\ngrid_font=#ffffff\r\n"));
    EXPECT_EQ(colors.grid_font, "#ffffff");
    ExpectStandardExcept(colors, {"grid_font"});
}

TEST_F(SkinColorsFile, NoAndEmptyValuesKeepTheStandardColours) {
    const SkinColors colors = ReadSkinColors(
        WriteColors("[colors]\ngrid1=NO\ngrid2=\ngrid3 =  NO  \ngrid4=no\nstatus_bar=#010203\n"));
    // Only exactly "NO" (blanks around it dropped) means "not set"; "no" is a value.
    EXPECT_EQ(colors.grid4, "no");
    EXPECT_EQ(colors.status_bar, "#010203");
    ExpectStandardExcept(colors, {"grid4", "status_bar"});
}

TEST_F(SkinColorsFile, NamesMatchWithoutRegardToCaseAndTheFirstMatchWins) {
    const SkinColors colors =
        ReadSkinColors(WriteColors("[other]\nWINDOW_COLOR=#999999\n"
                                   "[COLORS]\n"
                                   "  Window_Color = #123456\n"
                                   "window_color=#654321\n"
                                   "Cells_Locked=#ABCDEF\n"
                                   "[Colors]\n"
                                   "menu_font=#eeeeee\n"));
    EXPECT_EQ(colors.window_color, "#123456");
    EXPECT_EQ(colors.cells_locked, "#ABCDEF");
    EXPECT_EQ(colors.menu_font, "#eeeeee");
    ExpectStandardExcept(colors, {"window_color", "cells_locked", "menu_font"});
}

TEST_F(SkinColorsFile, ValuesAreKeptAsWrittenAndFailOnlyWhenUsed) {
    const SkinColors colors =
        ReadSkinColors(WriteColors("[colors]\nmenu_font=red\nbutton_bar=#12345\n"));
    EXPECT_EQ(colors.menu_font, "red");
    EXPECT_EQ(colors.button_bar, "#12345");
    EXPECT_THROW(ColorFromHex(colors.menu_font), std::invalid_argument);
    EXPECT_THROW(ColorFromHex(colors.button_bar), std::invalid_argument);
}

TEST_F(SkinColorsFile, ReadsTheFileAsItIsNow) {
    const QString path = WriteColors("[colors]\ngrid1=#111111\n");
    EXPECT_EQ(ReadSkinColors(path).grid1, "#111111");
    WriteColors("[colors]\ngrid1=#222222\n");
    EXPECT_EQ(ReadSkinColors(path).grid1, "#222222");
    QFile::remove(path);
    EXPECT_EQ(ReadSkinColors(path).grid1, SkinColors{}.grid1);
}

}  // namespace
}  // namespace appearance
