#pragma once

#include <QByteArray>
#include <QString>

namespace app {

// Replaces the file at path with bytes through a temporary file renamed over it, so a crash
// never leaves half a file. Raises std::runtime_error naming the file when it cannot.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Reads a whole file; raises std::runtime_error naming the file when it cannot.
QByteArray ReadWholeFile(const QString& path);

}  // namespace app
