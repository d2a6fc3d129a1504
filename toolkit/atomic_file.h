#pragma once

#include <QByteArray>
#include <QString>

namespace toolkit {

// The largest file the program reads whole: far above any settings, colour or puzzle file, so
// that a device or a runaway file is never read without end.
inline constexpr qint64 kLargestReadFile = 1024 * 1024;

// Replaces the file at path with bytes through a temporary file renamed over it, so a crash
// never leaves half a file. An existing file keeps its permissions, and a symbolic link is
// written through to the file it names and stays a link. Raises std::runtime_error naming the
// file when it cannot, and refuses to replace anything but a regular file (a folder, a FIFO, a
// device), which stays as it was.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Reads a whole regular file of at most kLargestReadFile bytes; raises std::runtime_error
// naming the file for anything else, without blocking on a FIFO or reading a device.
QByteArray ReadWholeFile(const QString& path);

}  // namespace toolkit
