#pragma once

#include <QImage>
#include <QString>

namespace toolkit {

// The one place the game talks to libjpeg. Every failure raises std::runtime_error whose text
// names the file and says what failed ("Cannot read the JPEG picture /tmp/p.jpg: Premature
// end of JPEG file"); libjpeg never prints and never ends the process.

// The picture in the JPEG file at path, as QImage::Format_RGB32. Grey pictures come out grey;
// CMYK pictures are refused, and so is a picture whose header claims more than 4096 x 4096
// pixels, before it is decoded. A file that libjpeg can only read by patching over corrupt or
// missing data (which it would otherwise only warn about) is refused too.
QImage ReadJpeg(const QString& path);

// Writes image, without its alpha channel, as a baseline JPEG of quality 90 from 24-bit RGB,
// replacing the file at path in one step: a failure (a null image too) leaves whatever was
// there.
void WriteJpeg(const QImage& image, const QString& path);

}  // namespace toolkit
