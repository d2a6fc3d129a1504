#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

namespace output {

// Stamping one line of text on a picture of the puzzle.

// Where the stamped text comes from. When several letters ask, the later one in this list wins.
enum class StampText {
    Given,          // the text as given
    FileFirstLine,  // "F": the given text is the path of a text file; its first line
    DateTime,       // "D": the local date and time, "yyyy-MM-dd hh:mm", 24-hour
    CreditLine,     // "C": help::kCreditLine
    SiteHost,       // "W": help::kSiteHost
};

// The text's colour and the colour behind it (of the band too, when there is one).
enum class StampColours {
    GridFont,      // the grid font's colour on white
    WhiteOnBlack,  // "B"
    BlackOnWhite,  // "N", which wins over "B"
};

struct StampOptions {
    StampText text = StampText::Given;
    StampColours colours = StampColours::GridFont;
    // Without "S": the picture grows by a band at the bottom, and the text is drawn on an
    // opaque background of the band's colour. With "S" the picture keeps its size and the text
    // has no background.
    bool band = true;

    bool operator==(const StampOptions&) const = default;
};

// The options an option text asks for: letters are case-sensitive, other characters are
// ignored, and "F" counts only as the first character ("SF" does not read a file).
StampOptions ParseStampOptions(const QString& letters);

// The text to stamp: text itself, or what the options put in its place. For "F" it reads the
// file named by text and gives its first line without the line end ("" for an empty file),
// raising std::runtime_error naming the file when it cannot be read; no file is read when "D",
// "C" or "W" replaces the text anyway. now is used for "D" only.
QString StampTextFor(const StampOptions& options, const QString& text, const QDateTime& now);

// "MS Sans Serif" at 11 pixels (8 points at 96 dpi), regular, not antialiased like the bitmap
// font it names; the font system puts its nearest font in its place where that one is missing.
QFont StampFont();

// The band's height: the font's height in pixels plus 4, so 15.
int StampBandHeight();

// The size text takes in the stamp font: its advance width and the font's line height.
QSize StampTextSize(const QString& text);

// The top-left corner of a text of size text on a picture of size picture (after any band),
// moved by the margins:
//   2 top right      (W - w - xMargin, yMargin)
//   3 bottom left    (xMargin, H - h - yMargin)
//   4 bottom right   (W - w - xMargin, H - h - yMargin)
//   5 centre         ((W - w) / 2 + xMargin, (H - h) / 2 + yMargin), halves truncated toward 0
//   1 and any other  (xMargin, yMargin) top left
QPoint StampPosition(int mode, const QSize& picture, const QSize& text, int xMargin, int yMargin);

// A copy of picture (not null) as Format_RGB32 with text stamped on it in the stamp font, at
// StampPosition(mode, ...) of the stamped picture's size, in the options' colours: with the band
// it is StampBandHeight() pixels taller. Text is drawn as given; see StampTextFor.
QImage StampPicture(const QImage& picture, const StampOptions& options, const QString& text,
                    int mode, int xMargin, int yMargin, const QColor& gridFontColor);

// Stamps the JPEG picture at inputPath and writes it as a JPEG to outputPath, which may be the
// same path: reads the picture and the text (the date and time being now), stamps, removes any
// file at outputPath (so a read-only one is replaced too), and writes. Raises
// std::runtime_error naming the file at fault; a failure before the removal leaves outputPath
// as it was, one in writing leaves no file there.
void StampPictureFile(const QString& options, const QString& inputPath, const QString& outputPath,
                      const QString& text, int mode, int xMargin, int yMargin,
                      const QColor& gridFontColor);

}  // namespace output
