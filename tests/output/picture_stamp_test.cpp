#include "output/picture_stamp.h"

#include <gtest/gtest.h>

#include <QRect>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "help/product_info.h"
#include "tests/support/scratch_dir.h"
#include "toolkit/jpeg_file.h"

namespace output {
namespace {

using testing_support::ScratchDir;

const QString kDateText = QStringLiteral("2026-03-07 09:05");
const QColor kBoardGrey(180, 180, 180);

std::vector<std::uint8_t> FileBytes(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

QImage Flat(const QColor& colour) {
    QImage picture(370, 370, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// Where StampPicture should have put text on a picture of the given size.
QRect ExpectedArea(int mode, const QSize& stampedSize, const QString& text, int xMargin,
                   int yMargin) {
    const QSize size = StampTextSize(text);
    return {StampPosition(mode, stampedSize, size, xMargin, yMargin), size};
}

// How the pixels of a stamped picture compare with what was stamped on.
struct StampCheck {
    int changedOutside = 0;  // pixels outside area that are not the picture's or the band's
    int text = 0;            // pixels inside area in the text colour
    int stray = 0;           // pixels inside area neither text nor background
};

// background: the colour behind the text, or invalid for none (the picture shows through).
StampCheck Check(const QImage& stamped, const QImage& picture, const QRect& area,
                 const QColor& bandColour, const QColor& textColour, const QColor& background) {
    StampCheck check;
    for (int y = 0; y < stamped.height(); ++y) {
        for (int x = 0; x < stamped.width(); ++x) {
            const QRgb under = y < picture.height() ? picture.pixel(x, y) : bandColour.rgb();
            const QRgb pixel = stamped.pixel(x, y);
            if (!area.contains(x, y)) {
                check.changedOutside += pixel != under;
            } else if (pixel == textColour.rgb()) {
                ++check.text;
            } else {
                check.stray += pixel != (background.isValid() ? background.rgb() : under);
            }
        }
    }
    return check;
}

TEST(StampOptions, LettersAreCaseSensitiveAndLaterTextSourcesWin) {
    EXPECT_EQ(ParseStampOptions(QString()), StampOptions{});
    EXPECT_EQ(ParseStampOptions(QStringLiteral("fsbndcw -+x")), StampOptions{});

    EXPECT_EQ(ParseStampOptions(QStringLiteral("F")).text, StampText::FileFirstLine);
    EXPECT_EQ(ParseStampOptions(QStringLiteral("SF")).text, StampText::Given);  // not first
    EXPECT_EQ(ParseStampOptions(QStringLiteral("FS")),
              (StampOptions{StampText::FileFirstLine, StampColours::GridFont, false}));

    EXPECT_EQ(ParseStampOptions(QStringLiteral("B")).colours, StampColours::WhiteOnBlack);
    EXPECT_EQ(ParseStampOptions(QStringLiteral("NB")).colours, StampColours::BlackOnWhite);
    EXPECT_EQ(ParseStampOptions(QStringLiteral("BN")).colours, StampColours::BlackOnWhite);
    EXPECT_TRUE(ParseStampOptions(QStringLiteral("BN")).band);

    EXPECT_EQ(ParseStampOptions(QStringLiteral("FD")).text, StampText::DateTime);
    EXPECT_EQ(ParseStampOptions(QStringLiteral("CD")).text, StampText::CreditLine);
    EXPECT_EQ(ParseStampOptions(QStringLiteral("DC")).text, StampText::CreditLine);
    EXPECT_EQ(ParseStampOptions(QStringLiteral("WCD")).text, StampText::SiteHost);
    EXPECT_EQ(ParseStampOptions(QStringLiteral("DCW")).text, StampText::SiteHost);
    EXPECT_EQ(ParseStampOptions(QStringLiteral("x D")).text, StampText::DateTime);
}

TEST(StampPosition, PutsTheTextInTheCornerOrCentreOfEachMode) {
    const QSize picture(370, 385);
    const QSize text(91, 13);
    EXPECT_EQ(StampPosition(1, picture, text, 7, 5), QPoint(7, 5));
    EXPECT_EQ(StampPosition(2, picture, text, 7, 5), QPoint(370 - 91 - 7, 5));
    EXPECT_EQ(StampPosition(3, picture, text, 7, 5), QPoint(7, 385 - 13 - 5));
    EXPECT_EQ(StampPosition(4, picture, text, 7, 5), QPoint(370 - 91 - 7, 385 - 13 - 5));
    EXPECT_EQ(StampPosition(5, picture, text, 7, 5), QPoint(139 + 7, 186 + 5));  // 279/2, 372/2
    for (int other : {0, 6, -1, 100}) {
        EXPECT_EQ(StampPosition(other, picture, text, 7, 5), QPoint(7, 5)) << other;
    }
    // Negative margins move outwards; a text wider than the picture halves toward zero.
    EXPECT_EQ(StampPosition(4, picture, text, -3, -2), QPoint(370 - 91 + 3, 385 - 13 + 2));
    EXPECT_EQ(StampPosition(5, QSize(10, 10), QSize(15, 13), 0, 0), QPoint(-2, -1));
}

TEST(StampText, ComesFromTheOptionsOrTheFirstLineOfTheNamedFile) {
    ScratchDir dir;
    const std::string lines = dir.Path("lines.txt");
    std::ofstream(lines) << "Saturday's puzzle\r\nsecond line\n";
    const std::string empty = dir.Path("empty.txt");
    std::ofstream{empty};
    auto textFor = [&](const char* letters, const std::string& text,
                       const QDateTime& now = QDateTime(QDate(2026, 3, 7), QTime(9, 5, 59))) {
        return StampTextFor(ParseStampOptions(QString::fromLatin1(letters)),
                            QString::fromStdString(text), now);
    };
    EXPECT_EQ(textFor("SB", "Puzzle 12"), QStringLiteral("Puzzle 12"));
    EXPECT_EQ(textFor("D", "Puzzle 12"), kDateText);
    EXPECT_EQ(textFor("D", "", QDateTime(QDate(2026, 12, 31), QTime(21, 40))),
              QStringLiteral("2026-12-31 21:40"));
    EXPECT_EQ(textFor("DC", ""), QString::fromUtf8(help::kCreditLine));
    EXPECT_EQ(textFor("WCD", ""), QString::fromUtf8(help::kSiteHost));
    EXPECT_EQ(textFor("FD", "no such file"), kDateText);  // replaced anyway, so not read

    EXPECT_EQ(textFor("FB", lines), QStringLiteral("Saturday's puzzle"));
    EXPECT_EQ(textFor("F", empty), QString());
    const std::string missing = dir.Path("missing.txt");
    try {
        textFor("F", missing);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot read the text file " + missing + ": No such file or directory");
    }
}

TEST(StampPicture, BlackBandAndWhiteDateAtTheTopLeftForBD) {
    EXPECT_EQ(StampBandHeight(), 15);
    EXPECT_EQ(StampFont().pixelSize(), 11);

    const QImage picture = Flat(kBoardGrey);
    const QImage stamped = StampPicture(picture, ParseStampOptions(QStringLiteral("BD")), kDateText,
                                        1, 4, 3, QColor(0x33, 0x5e, 0xa8));
    ASSERT_EQ(stamped.size(), QSize(370, 385));
    EXPECT_EQ(stamped.format(), QImage::Format_RGB32);

    const QRect area = ExpectedArea(1, stamped.size(), kDateText, 4, 3);
    EXPECT_EQ(area.topLeft(), QPoint(4, 3));
    const StampCheck check = Check(stamped, picture, area, Qt::black, Qt::white, Qt::black);
    EXPECT_EQ(check.changedOutside, 0);  // the band is black, the picture untouched
    EXPECT_GT(check.text, 30);
    EXPECT_EQ(check.stray, 0);  // white on black, nothing in between
}

TEST(StampPicture, SKeepsTheSizeAndDrawsTheGridFontColourWithoutBackground) {
    const QImage picture = Flat(kBoardGrey);
    for (int mode = 1; mode <= 5; ++mode) {
        SCOPED_TRACE(mode);
        const QImage stamped = StampPicture(picture, ParseStampOptions(QStringLiteral("S")),
                                            kDateText, mode, 6, 2, Qt::white);
        ASSERT_EQ(stamped.size(), picture.size());
        const QRect area = ExpectedArea(mode, stamped.size(), kDateText, 6, 2);
        const StampCheck check = Check(stamped, picture, area, QColor(), Qt::white, QColor());
        EXPECT_EQ(check.changedOutside, 0);
        EXPECT_GT(check.text, 30);
        EXPECT_LT(check.text, area.width() * area.height() / 2);  // the grey shows between
        EXPECT_EQ(check.stray, 0);
    }
}

TEST(StampPicture, NWinsOverBAndPlainStampsGoOnAWhiteBand) {
    const QImage picture = Flat(kBoardGrey);
    const QColor gridFont(0x33, 0x5e, 0xa8);
    struct {
        const char* letters;
        QColor text;
    } cases[] = {{"BN", Qt::black}, {"C", gridFont}};
    for (const auto& [letters, textColour] : cases) {
        SCOPED_TRACE(letters);
        const QString text = QString::fromUtf8(help::kCreditLine);
        const QImage stamped = StampPicture(
            picture, ParseStampOptions(QString::fromLatin1(letters)), text, 4, 2, 2, gridFont);
        ASSERT_EQ(stamped.size(), QSize(370, 385));
        // Bottom right: in the band, on the white of the band.
        const QRect area = ExpectedArea(4, stamped.size(), text, 2, 2);
        EXPECT_EQ(area.bottomRight(), QPoint(370 - 1 - 2, 385 - 1 - 2));
        const StampCheck check = Check(stamped, picture, area, Qt::white, textColour, Qt::white);
        EXPECT_EQ(check.changedOutside, 0);
        EXPECT_GT(check.text, 30);
        EXPECT_EQ(check.stray, 0);
    }
}

TEST(StampPictureFile, StampsAJpegInPlaceAndLeavesItAloneOnFailure) {
    ScratchDir dir;
    const QString path = QString::fromStdString(dir.Path("board.jpg"));
    toolkit::WriteJpeg(Flat(kBoardGrey), path);
    StampPictureFile(QStringLiteral("B"), path, path, QStringLiteral("Puzzle 12"), 4, 3, 3,
                     Qt::black);

    const QImage stamped = toolkit::ReadJpeg(path);
    ASSERT_EQ(stamped.size(), QSize(370, 385));
    EXPECT_LT(qGray(stamped.pixel(10, 380)), 24);  // the black band
    EXPECT_NEAR(qGray(stamped.pixel(10, 10)), 180, 6);
    const QRect area = ExpectedArea(4, stamped.size(), QStringLiteral("Puzzle 12"), 3, 3);
    int bright = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            bright += qGray(stamped.pixel(x, y)) > 160;
        }
    }
    EXPECT_GT(bright, 15);  // white text, softened by the JPEG

    const std::vector<std::uint8_t> before = FileBytes(path);
    const QString noText = QString::fromStdString(dir.Path("no-text.txt"));
    EXPECT_THROW(StampPictureFile(QStringLiteral("F"), path, path, noText, 1, 0, 0, Qt::black),
                 std::runtime_error);
    EXPECT_EQ(FileBytes(path), before);
}

}  // namespace
}  // namespace output
