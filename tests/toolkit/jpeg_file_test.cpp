#include "toolkit/jpeg_file.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QPainter>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "tests/support/scratch_dir.h"

namespace toolkit {
namespace {

using testing_support::ScratchDir;

// The luminance table of the JPEG standard (Annex K.1), listed in zig-zag order as a DQT
// segment lists it, and as libjpeg scales it for quality 90: by 200 - 2 * 90 = 20 %.
constexpr std::array<int, 64> kLuminanceZigZag = {
    16, 11, 12,  14,  12,  10, 16, 14,  13,  14,  18,  17,  16, 19,  24,  40,
    26, 24, 22,  22,  24,  49, 35, 37,  29,  40,  58,  51,  61, 60,  57,  51,
    56, 55, 64,  72,  92,  78, 64, 68,  87,  69,  55,  56,  80, 109, 81,  87,
    95, 98, 103, 104, 103, 62, 77, 113, 121, 112, 100, 120, 92, 101, 103, 99};
std::vector<int> LuminanceForQuality90() {
    std::vector<int> table;
    for (int entry : kLuminanceZigZag) {
        table.push_back((entry * 20 + 50) / 100);
    }
    return table;
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// What the marker segments before the scan say.
struct Markers {
    std::vector<int> frames;  // SOFn marker bytes: 0xC0 baseline, 0xC2 progressive, ...
    int components = 0;       // of the last frame
    std::vector<int> table0;  // DQT table 0 (luminance) when it has 8-bit entries
};

Markers ReadMarkers(const std::vector<std::uint8_t>& bytes) {
    Markers markers;
    std::size_t at = 2;  // past SOI
    while (at + 10 < bytes.size() && bytes[at] == 0xFF && bytes[at + 1] != 0xDA) {
        const int marker = bytes[at + 1];
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            markers.frames.push_back(marker);
            markers.components = bytes[at + 9];
        }
        if (marker == 0xDB && bytes[at + 4] == 0x00 && at + 69 <= bytes.size()) {
            markers.table0.assign(bytes.begin() + static_cast<long>(at) + 5,
                                  bytes.begin() + static_cast<long>(at) + 69);
        }
        at += 2 + bytes[at + 2] * 256u + bytes[at + 3];
    }
    return markers;
}

// A flat 16 x 8 JPEG written by libjpeg directly, of a kind the game never writes.
void WriteFlatJpeg(const std::string& path, int components, J_COLOR_SPACE space, JSAMPLE sample) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = 16;
    info.image_height = 8;
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> samples(16 * static_cast<std::size_t>(components), sample);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = samples.data();
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

// A picture of the board's size in four flat quadrants.
const std::array<QColor, 4> kQuadrantColours = {QColor(200, 30, 40), QColor(20, 180, 60),
                                                QColor(30, 50, 210), QColor(240, 240, 230)};
QImage QuadrantPicture() {
    QImage picture(370, 370, QImage::Format_RGB32);
    QPainter painter(&picture);
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        painter.fillRect((quadrant % 2) * 185, (quadrant / 2) * 185, 185, 185,
                         kQuadrantColours[quadrant]);
    }
    return picture;
}

void ExpectNear(const QColor& actual, const QColor& expected, int tolerance) {
    EXPECT_NEAR(actual.red(), expected.red(), tolerance) << "red";
    EXPECT_NEAR(actual.green(), expected.green(), tolerance) << "green";
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance) << "blue";
}

// The text of the std::runtime_error action raises, or "" when it raises none.
std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return {};
}

std::string ReadError(const std::string& path) {
    return ErrorOf([&] { ReadJpeg(QString::fromStdString(path)); });
}

TEST(JpegFile, ABoardIsWrittenAsBaselineQuality90RgbAndReadsBack) {
    ScratchDir dir;
    const std::string path = dir.Path("board.jpg");
    WriteJpeg(QuadrantPicture(), QString::fromStdString(path));

    const Markers markers = ReadMarkers(FileBytes(path));
    EXPECT_EQ(markers.frames, std::vector<int>{0xC0});  // SOF0 only: no SOF2, not progressive
    EXPECT_EQ(markers.components, 3);
    EXPECT_EQ(markers.table0, LuminanceForQuality90());

    const QImage read = ReadJpeg(QString::fromStdString(path));
    ASSERT_EQ(read.size(), QSize(370, 370));
    EXPECT_EQ(read.format(), QImage::Format_RGB32);
    // Points at least 20 pixels inside each quadrant, away from the blur at their borders.
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        SCOPED_TRACE(quadrant);
        const QPoint origin((quadrant % 2) * 185, (quadrant / 2) * 185);
        for (QPoint at : {QPoint(20, 20), QPoint(164, 20), QPoint(20, 164), QPoint(92, 92)}) {
            ExpectNear(read.pixelColor(origin + at), kQuadrantColours[quadrant], 6);
        }
    }
}

TEST(JpegFile, GreyPicturesReadAsGreyAndCmykOnesAreRefused) {
    ScratchDir dir;
    const std::string grey = dir.Path("grey.jpg");
    WriteFlatJpeg(grey, 1, JCS_GRAYSCALE, 128);
    const QImage read = ReadJpeg(QString::fromStdString(grey));
    ASSERT_EQ(read.size(), QSize(16, 8));
    EXPECT_EQ(read.format(), QImage::Format_RGB32);
    ExpectNear(read.pixelColor(5, 3), QColor(128, 128, 128), 2);

    const std::string cmyk = dir.Path("cmyk.jpg");
    WriteFlatJpeg(cmyk, 4, JCS_CMYK, 60);
    EXPECT_EQ(ReadError(cmyk),
              "Cannot read the JPEG picture " + cmyk + ": CMYK pictures are not supported");
}

TEST(JpegFile, MissingEmptyTruncatedAndForeignFilesRaiseErrorsNamingThem) {
    ScratchDir dir;
    const std::string good = dir.Path("good.jpg");
    WriteJpeg(QuadrantPicture(), QString::fromStdString(good));
    const std::vector<std::uint8_t> bytes = FileBytes(good);
    WriteBytes(dir.Path("empty.jpg"), {});
    WriteBytes(dir.Path("truncated.jpg"),
               {bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2)});
    WriteBytes(dir.Path("picture.png"), {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
    // A picture whose frame header claims 30000 x 30000 pixels (height, then width).
    std::vector<std::uint8_t> huge = bytes;
    for (std::size_t at = 0; at + 8 < huge.size(); ++at) {
        if (huge[at] == 0xFF && huge[at + 1] == 0xC0) {
            for (std::size_t field : {at + 5, at + 7}) {
                huge[field] = 0x75;
                huge[field + 1] = 0x30;
            }
            break;
        }
    }
    WriteBytes(dir.Path("huge.jpg"), huge);

    for (const auto& [name, reason] :
         {std::pair{"missing.jpg", "No such file or directory"},
          {"empty.jpg", "Empty input file"},
          {"truncated.jpg", "Premature end of JPEG file"},
          {"picture.png", "Not a JPEG file: starts with 0x89 0x50"},
          {"huge.jpg", "the picture is larger than any the game reads"}}) {
        EXPECT_EQ(ReadError(dir.Path(name)),
                  "Cannot read the JPEG picture " + dir.Path(name) + ": " + reason);
    }
    // The process goes on, and so does libjpeg.
    EXPECT_EQ(ReadJpeg(QString::fromStdString(good)).size(), QSize(370, 370));
}

TEST(JpegFile, APictureThatCannotBeWrittenRaisesAnErrorNamingTheFile) {
    ScratchDir dir;
    const std::string nowhere = dir.Path("no-such-folder/board.jpg");
    EXPECT_EQ(ErrorOf([&] {
                  WriteJpeg(QuadrantPicture(), QString::fromStdString(nowhere));
              }).rfind("Cannot write the JPEG picture " + nowhere + ": ", 0),
              0u);
    const std::string empty = dir.Path("empty.jpg");
    EXPECT_EQ(ErrorOf([&] { WriteJpeg(QImage(), QString::fromStdString(empty)); }),
              "Cannot write the JPEG picture " + empty + ": the picture is empty");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(empty)));
}

}  // namespace
}  // namespace toolkit
