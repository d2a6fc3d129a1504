#include "app/settings_text.h"

#include <QList>

namespace app {

namespace {

const QByteArray kSection = "param";

// The lines of a text: split at line feeds, a CR before one dropped, and no empty last line
// for a text that ends with a line break.
QList<QByteArray> LinesOf(const QByteArray& text) {
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.pop_back();
    }
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    while (!lines.isEmpty() && lines.front().isEmpty()) {
        lines.pop_front();
    }
    return lines;
}

bool IsSectionHeader(const QByteArray& line) {
    return line.trimmed().startsWith('[');
}

bool IsOurSection(const QByteArray& line) {
    const QByteArray trimmed = line.trimmed();
    const qsizetype end = trimmed.indexOf(']');
    return trimmed.startsWith('[') && end > 0 &&
           trimmed.mid(1, end - 1).trimmed().toLower() == kSection;
}

bool IsLineOf(const QByteArray& line, const QByteArray& key) {
    const qsizetype equals = line.indexOf('=');
    return equals >= 0 && line.left(equals).trimmed().toLower() == key.toLower();
}

// The line with its value replaced, the blanks around the value kept.
QByteArray WithValue(const QByteArray& line, const QByteArray& value) {
    const qsizetype start = line.indexOf('=') + 1;
    qsizetype valueStart = start;
    while (valueStart < line.size() && (line[valueStart] == ' ' || line[valueStart] == '\t')) {
        ++valueStart;
    }
    qsizetype valueEnd = line.size();
    while (valueEnd > valueStart && (line[valueEnd - 1] == ' ' || line[valueEnd - 1] == '\t')) {
        --valueEnd;
    }
    return line.left(valueStart) + value + line.mid(valueEnd);
}

}  // namespace

QByteArray DefaultSettingsText() {
    return "[param]\r\nskin=default\r\nlevel=Easy\r\nhint=false\r\nuser=\r\npwd=\r\nmail=";
}

QByteArray WithSetting(const QByteArray& fileText, const QString& key, const QString& value) {
    const QByteArray keyBytes = key.toUtf8();
    const QByteArray valueBytes = value.toUtf8();
    QList<QByteArray> lines = LinesOf(fileText);

    qsizetype section = -1;
    for (qsizetype i = 0; i < lines.size() && section < 0; ++i) {
        section = IsOurSection(lines[i]) ? i : -1;
    }
    if (section < 0) {
        lines << "[" + kSection + "]" << keyBytes + "=" + valueBytes;
        return lines.join("\r\n");
    }
    qsizetype lastOfSection = section;
    for (qsizetype i = section + 1; i < lines.size() && !IsSectionHeader(lines[i]); ++i) {
        if (IsLineOf(lines[i], keyBytes)) {
            lines[i] = WithValue(lines[i], valueBytes);
            return lines.join("\r\n");
        }
        if (!lines[i].trimmed().isEmpty()) {
            lastOfSection = i;
        }
    }
    lines.insert(lastOfSection + 1, keyBytes + "=" + valueBytes);
    return lines.join("\r\n");
}

}  // namespace app
