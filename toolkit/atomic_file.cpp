#include "toolkit/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <stdexcept>
#include <string>

namespace toolkit {

namespace {

[[noreturn]] void Fail(const char* doing, const QString& path, const QString& why) {
    throw std::runtime_error(std::string("Cannot ") + doing + ' ' +
                             QDir::toNativeSeparators(path).toStdString() + ": " +
                             why.toStdString());
}

}  // namespace

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    // QSaveFile writes through a link and keeps the permissions; what it would replace must be
    // a file to begin with.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) {
        Fail("write", path, QStringLiteral("it is not a regular file"));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        Fail("write", path, file.errorString());
    }
}

QByteArray ReadWholeFile(const QString& path) {
    const QFileInfo source(path);
    if (source.exists() && !source.isFile()) {
        Fail("read", path, QStringLiteral("it is not a regular file"));
    }
    if (source.size() > kLargestReadFile) {
        Fail("read", path, QStringLiteral("it is too large"));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail("read", path, file.errorString());
    }
    // Read no further than the limit, should the file grow meanwhile.
    return file.read(kLargestReadFile);
}

}  // namespace toolkit
