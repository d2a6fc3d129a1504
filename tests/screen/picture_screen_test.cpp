// The puzzle picture read from the real screen; runs under Xvfb.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "appearance/color_from_hex.h"
#include "appearance/skin_colors_file.h"
#include "board/board_grid.h"
#include "board/cell_layout.h"
#include "help/product_info.h"
#include "output/picture_stamp.h"
#include "output/puzzle_picture.h"
#include "tests/support/window_fixture.h"
#include "toolkit/jpeg_file.h"

namespace {

class PictureOnScreen : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        // The standard skin's pictures with white digits, so the stamps are white.
        const QString folder = ProgramDir() + "skin/white/";
        ASSERT_TRUE(QDir().mkpath(folder));
        for (const char* picture : {"header.jpg", "header_left.jpg", "header_right.jpg"}) {
            QFile::copy(QStringLiteral(QUILLMARK_SKIN_DIR "/default/") + picture, folder + picture);
        }
        QFile colors(folder + "colors.ini");
        ASSERT_TRUE(colors.open(QIODevice::WriteOnly));
        colors.write("[colors]\r\ngrid_font=#ffffff\r\n");
        colors.close();
        colors_ = appearance::ReadSkinColors(folder + "colors.ini");
        WriteConfig("[param]\r\nskin=white\r\nlevel=Easy\r\nhint=false\r\nuser=\r\npwd=\r\nmail=");

        ShowReady();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
        Window().Puzzle1Click();
        // The X server shows the new puzzle in its own time.
        EXPECT_TRUE(testing_support::WaitFor([this] {
            const QImage picture = Capture("settled.jpg");
            const QColor lockedFill = appearance::QColorFromHex(colors_.cells_locked);
            for (int row = 0; row < 9; ++row) {
                for (int column = 0; column < 9; ++column) {
                    if (Locked(column, row) &&
                        !Near(picture.pixelColor(Spot(column, row)), lockedFill)) {
                        return false;
                    }
                }
            }
            return true;
        }));
    }

    // Left of where any digit of the cell starts, inside the rim and the frame.
    static QPoint Spot(int column, int row) {
        return board::CellRect(column, row).topLeft() + QPoint(5, 21);
    }

    // The picture of the board as the window is now, as Save Puzzle Image writes it.
    QImage Capture(const QString& name) {
        const QString path = ProgramDir() + name;
        output::CapturePuzzlePicture(Board(), path, colors_);
        return toolkit::ReadJpeg(path);
    }

    appearance::SkinColors colors_;

    static bool IsWhite(QColor c) { return c.red() > 235 && c.green() > 235 && c.blue() > 235; }
    static bool Near(QColor a, QColor b) {
        return std::abs(a.red() - b.red()) <= 12 && std::abs(a.green() - b.green()) <= 12 &&
               std::abs(a.blue() - b.blue()) <= 12;
    }
};

TEST_F(PictureOnScreen, TheJpegShowsTheBoardAsTheScreenDoes) {
    const QImage picture = Capture("board.jpg");
    QFile file(ProgramDir() + "board.jpg");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("\xff\xc0"));   // baseline
    EXPECT_FALSE(bytes.contains("\xff\xc2"));  // not progressive
    ASSERT_EQ(picture.size(), QSize(370, 370));

    const appearance::SkinColors& colors = colors_;
    const QString* fills[] = {&colors.grid1, &colors.grid2, &colors.grid3, &colors.grid4};
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            const QPoint spot = Spot(column, row);
            const QColor expected =
                Locked(column, row)
                    ? appearance::QColorFromHex(colors.cells_locked)
                    : appearance::QColorFromHex(*fills[board::FillKey(column, row) - 1]);
            EXPECT_TRUE(Near(picture.pixelColor(spot), expected)) << column << "," << row;
        }
    }
}

TEST_F(PictureOnScreen, APartOfTheBoardOffTheScreenIsNotInThePicture) {
    // The board's right half beyond the screen's right edge.
    const QRect screen = Window().screen()->geometry();
    const QPoint board = Board().pos();
    Window().move(screen.right() + 1 - 185 - board.x(), 100 - board.y());
    ASSERT_TRUE(testing_support::WaitFor([&] {
        return Window().mapToGlobal(QPoint(0, 0)).x() + board.x() == screen.right() + 1 - 185;
    }));

    // The cells of the left half seen lit, once the X server has shown the window where it
    // now stands; the right half must stay dark, never the locked fill.
    QImage picture;
    const QColor lockedFill = appearance::QColorFromHex(colors_.cells_locked);
    auto onScreenCells = [&] {
        int lit = 0;
        for (int row = 0; row < 9; ++row) {
            for (int column = 0; column < 9; ++column) {
                lit += board::CellRect(column, row).right() < 185 &&
                       picture.pixelColor(Spot(column, row)).lightness() > 60;
            }
        }
        return lit;
    };
    testing_support::WaitFor([&] {
        picture = Capture("half.jpg");
        return picture.size() == QSize(370, 370) && onScreenCells() >= 4 * 9;
    });
    ASSERT_EQ(picture.size(), QSize(370, 370));
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            if (board::CellRect(column, row).left() > 185) {
                const QColor seen = picture.pixelColor(Spot(column, row));
                EXPECT_LT(seen.lightness(), 30) << column << "," << row;
                EXPECT_FALSE(Near(seen, lockedFill)) << column << "," << row;
            }
        }
    }
    EXPECT_GE(onScreenCells(), 4 * 9);
}

TEST_F(PictureOnScreen, TheThreeStampsStandInTheirCornersInTheDigitColour) {
    // No unlocked digit is on the board, so every white pixel is a stamp's.
    const QImage picture = Capture("stamped.jpg");
    const QSize size = picture.size();
    ASSERT_EQ(size, QSize(370, 370));

    auto area = [&](const QString& text, int mode, int xMargin, int yMargin) {
        const QSize textSize = output::StampTextSize(text);
        return QRect(output::StampPosition(mode, size, textSize, xMargin, yMargin), textSize)
            .adjusted(-2, -2, 2, 2);
    };
    const QString date = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    const QRect stamps[] = {
        area(date, 4, 5, 5),                                    // bottom right
        area(QString::fromLatin1(help::kCreditLine), 3, 5, 5),  // bottom left
        area(QString::fromLatin1(help::kSiteHost), 2, 5, 0),    // top right
    };
    int inside[3] = {0, 0, 0};
    int outside = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (!IsWhite(picture.pixelColor(x, y))) {
                continue;
            }
            bool counted = false;
            for (int i = 0; i < 3; ++i) {
                if (stamps[i].contains(x, y)) {
                    ++inside[i];
                    counted = true;
                }
            }
            outside += counted ? 0 : 1;
        }
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_GT(inside[i], 20) << "stamp " << i;
    }
    EXPECT_LT(outside, 10);
}

}  // namespace
