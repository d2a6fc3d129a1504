#include "toolkit/ini_file.h"

#include <QFile>
#include <QStringDecoder>

namespace toolkit {

namespace {

constexpr qsizetype kLongestValue = 2047;

// No settings or colour file comes near this size; larger ones are read only this far.
constexpr qint64 kLargestIniFile = 1024 * 1024;

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
    for (QByteArray line : content.split('\n')) {
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
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        return fallback;
    }
    return FindIniValue(file.read(kLargestIniFile), section, key).value_or(fallback);
}

}  // namespace toolkit
