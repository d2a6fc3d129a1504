// Tests that read the real screen; they run under Xvfb.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <string>

#include "appearance/color_from_hex.h"
#include "appearance/skin_colors_file.h"
#include "board/board_grid.h"
#include "board/cell_layout.h"
#include "tests/support/window_fixture.h"

namespace {

using BoardOnScreen = testing_support::WindowTest;

TEST_F(BoardOnScreen, TheScreenShowsTheFourColourPatternWhereTheBoardStands) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    // Once the engine has started, the wait panel no longer covers the board.
    TFsudoku_main& window = ShowReady();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const QPoint origin = Board().mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(origin, window.geometry().topLeft() + QPoint(145, 71));
    const appearance::SkinColors colors =
        appearance::ReadSkinColors(QStringLiteral(QUILLMARK_SKIN_DIR "/default/colors.ini"));
    const QString* keys[] = {&colors.grid1, &colors.grid2, &colors.grid3, &colors.grid4};
    // The cells whose centre (one pixel in from the board's frame) shows another colour than
    // the pattern's, as "column,row " each.
    auto misplaced = [&](const QImage& screen) {
        std::string cells;
        for (int row = 0; row < 9; ++row) {
            for (int column = 0; column < 9; ++column) {
                const QPoint centre = board::CellRect(column, row).center() + QPoint(1, 1);
                if (screen.pixelColor(centre) !=
                    appearance::QColorFromHex(*keys[board::FillKey(column, row) - 1])) {
                    cells += std::to_string(column) + "," + std::to_string(row) + " ";
                }
            }
        }
        return cells;
    };
    // The X server puts the painted window on the screen in its own time: the screen is read
    // again until it shows the pattern, for a few seconds at most.
    QImage screen;
    testing_support::WaitFor([&] {
        screen = QGuiApplication::primaryScreen()
                     ->grabWindow(0, origin.x(), origin.y(), 370, 370)
                     .toImage();
        return misplaced(screen).empty();
    });
    ASSERT_EQ(screen.size(), QSize(370, 370));
    EXPECT_EQ(misplaced(screen), "");
}

}  // namespace
