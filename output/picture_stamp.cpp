#include "output/picture_stamp.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QTextStream>
#include <stdexcept>
#include <string>

#include "help/product_info.h"
#include "toolkit/jpeg_file.h"

namespace output {

namespace {

constexpr int kFontPixelSize = 11;
constexpr int kBandPadding = 4;

std::string Native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

QString FirstLineOfFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("Cannot read the text file " + Native(path) + ": " +
                                 file.errorString().toStdString());
    }
    return QTextStream(&file).readLine();
}

QColor TextColour(StampColours colours, const QColor& gridFontColor) {
    switch (colours) {
        case StampColours::WhiteOnBlack:
            return Qt::white;
        case StampColours::BlackOnWhite:
            return Qt::black;
        case StampColours::GridFont:
            break;
    }
    return gridFontColor;
}

QColor BackgroundColour(StampColours colours) {
    return colours == StampColours::WhiteOnBlack ? Qt::black : Qt::white;
}

}  // namespace

StampOptions ParseStampOptions(const QString& letters) {
    StampOptions options;
    if (letters.startsWith(u'F')) {
        options.text = StampText::FileFirstLine;
    }
    if (letters.contains(u'S')) {
        options.band = false;
    }
    if (letters.contains(u'B')) {
        options.colours = StampColours::WhiteOnBlack;
    }
    if (letters.contains(u'N')) {
        options.colours = StampColours::BlackOnWhite;
    }
    if (letters.contains(u'D')) {
        options.text = StampText::DateTime;
    }
    if (letters.contains(u'C')) {
        options.text = StampText::CreditLine;
    }
    if (letters.contains(u'W')) {
        options.text = StampText::SiteHost;
    }
    return options;
}

QString StampTextFor(const StampOptions& options, const QString& text, const QDateTime& now) {
    switch (options.text) {
        case StampText::Given:
            break;
        case StampText::FileFirstLine:
            return FirstLineOfFile(text);
        case StampText::DateTime:
            return now.toString(QStringLiteral("yyyy-MM-dd hh:mm"));
        case StampText::CreditLine:
            return QString::fromUtf8(help::kCreditLine);
        case StampText::SiteHost:
            return QString::fromUtf8(help::kSiteHost);
    }
    return text;
}

QFont StampFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(kFontPixelSize);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    font.setStyleHint(QFont::SansSerif, QFont::NoAntialias);
    return font;
}

int StampBandHeight() {
    return StampFont().pixelSize() + kBandPadding;
}

QSize StampTextSize(const QString& text) {
    const QFontMetrics metrics(StampFont());
    return {metrics.horizontalAdvance(text), metrics.height()};
}

QPoint StampPosition(int mode, const QSize& picture, const QSize& text, int xMargin, int yMargin) {
    const int right = picture.width() - text.width() - xMargin;
    const int bottom = picture.height() - text.height() - yMargin;
    switch (mode) {
        case 2:
            return {right, yMargin};
        case 3:
            return {xMargin, bottom};
        case 4:
            return {right, bottom};
        case 5:  // int division truncates toward zero, also when the text is the wider
            return {(picture.width() - text.width()) / 2 + xMargin,
                    (picture.height() - text.height()) / 2 + yMargin};
        default:
            return {xMargin, yMargin};
    }
}

QImage StampPicture(const QImage& picture, const StampOptions& options, const QString& text,
                    int mode, int xMargin, int yMargin, const QColor& gridFontColor) {
    const QColor background = BackgroundColour(options.colours);
    const int band = options.band ? StampBandHeight() : 0;
    QImage stamped(picture.width(), picture.height() + band, QImage::Format_RGB32);
    stamped.fill(background);

    QPainter painter(&stamped);
    painter.drawImage(0, 0, picture);
    const QFont font = StampFont();
    painter.setFont(font);
    const QSize size = StampTextSize(text);
    const QRect area(StampPosition(mode, stamped.size(), size, xMargin, yMargin), size);
    if (options.band) {
        painter.fillRect(area, background);
    }
    painter.setPen(TextColour(options.colours, gridFontColor));
    painter.drawText(area.left(), area.top() + QFontMetrics(font).ascent(), text);
    painter.end();
    return stamped;
}

void StampPictureFile(const QString& options, const QString& inputPath, const QString& outputPath,
                      const QString& text, int mode, int xMargin, int yMargin,
                      const QColor& gridFontColor) {
    const StampOptions parsed = ParseStampOptions(options);
    const QImage picture = toolkit::ReadJpeg(inputPath);
    const QString stampText = StampTextFor(parsed, text, QDateTime::currentDateTime());
    const QImage stamped =
        StampPicture(picture, parsed, stampText, mode, xMargin, yMargin, gridFontColor);
    QFile output(outputPath);
    if (output.exists() && !output.remove()) {
        throw std::runtime_error("Cannot replace " + Native(outputPath) + ": " +
                                 output.errorString().toStdString());
    }
    toolkit::WriteJpeg(stamped, outputPath);
}

}  // namespace output
