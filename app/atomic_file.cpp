#include "app/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <stdexcept>

namespace app {

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw std::runtime_error("Cannot write " + QDir::toNativeSeparators(path).toStdString() +
                                 ": " + file.errorString().toStdString());
    }
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("Cannot read " + QDir::toNativeSeparators(path).toStdString() +
                                 ": " + file.errorString().toStdString());
    }
    return file.readAll();
}

}  // namespace app
