#include "toolkit/ini_file.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "toolkit/atomic_file.h"
#include "toolkit/text_form.h"

namespace toolkit {

namespace {

constexpr qsizetype kLongestValue = 2047;

QString Decode(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

bool SameName(const QByteArray& name, const QString& wanted) {
    return QString::fromLatin1(name.trimmed()).compare(wanted.trimmed(), Qt::CaseInsensitive) == 0;
}

}  // namespace

std::optional<QString> FindIniValue(const QByteArray& content, const QString& section,
                                    const QString& key) {
    bool inSection = false;
    for (QByteArray line : SplitLines(ToWorkingText(content, FormOf(content)))) {
        line = line.trimmed();
        if (line.startsWith('[')) {
            const qsizetype end = line.indexOf(']');
            inSection = end > 0 && SameName(line.mid(1, end - 1), section);
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inSection || equals < 0 || !SameName(line.left(equals), key)) {
            continue;
        }
        return Decode(line.mid(equals + 1).trimmed()).left(kLongestValue);
    }
    return std::nullopt;
}

QString IniFile::Read(const QString& section, const QString& key, const QString& fallback) const {
    // A folder, a FIFO or a device reads as a missing file: never blocking, never endless.
    QFile file(path_);
    if (!QFileInfo(path_).isFile() || !file.open(QIODevice::ReadOnly)) {
        return fallback;
    }
    return FindIniValue(file.read(kLargestReadFile), section, key).value_or(fallback);
}

}  // namespace toolkit
