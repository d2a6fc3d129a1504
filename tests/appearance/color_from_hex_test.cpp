#include <gtest/gtest.h>

#include <stdexcept>

#include "appearance/color_from_hex.h"

namespace appearance {
namespace {

TEST(ColorFromHex, PutsRedInTheLowestByte) {
    EXPECT_EQ(ColorFromHex("#990000"), 153);
    EXPECT_EQ(ColorFromHex("#335ea8"), 0xa85e33);
    EXPECT_EQ(ColorFromHex("#000000"), 0);
    EXPECT_EQ(ColorFromHex("#ffffff"), 0xffffff);
}

TEST(ColorFromHex, TakesEitherCaseIgnoresTheFirstCharacterAndTheTail) {
    EXPECT_EQ(ColorFromHex("#BECBE3"), ColorFromHex("#becbe3"));
    EXPECT_EQ(ColorFromHex("x335ea8"), 0xa85e33);
    EXPECT_EQ(ColorFromHex("#335ea8 and more"), 0xa85e33);
}

TEST(ColorFromHex, RefusesTextsThatAreNoColour) {
    EXPECT_THROW(ColorFromHex(""), std::invalid_argument);
    EXPECT_THROW(ColorFromHex("#12345"), std::invalid_argument);
    EXPECT_THROW(ColorFromHex("#12g456"), std::invalid_argument);
    EXPECT_THROW(ColorFromHex("NO"), std::invalid_argument);
}

TEST(ColorFromHex, ConvertsToTheSameDrawingColour) {
    EXPECT_EQ(QColorFromHex("#335ea8"), QColor(0x33, 0x5e, 0xa8));
}

}  // namespace
}  // namespace appearance
