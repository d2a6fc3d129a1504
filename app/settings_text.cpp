#include "app/settings_text.h"

#include <QList>

#include "toolkit/text_form.h"

namespace app {

namespace {

const QByteArray kSection = "param";

// The lines of a text, empty lines before the first other one dropped.
QList<QByteArray> LinesOf(const QByteArray& text) {
    QList<QByteArray> lines = toolkit::SplitLines(text);
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

// The lines with the setting's line holding value, added where it is missing.
QList<QByteArray> WithSettingLine(QList<QByteArray> lines, const QByteArray& key,
                                  const QByteArray& value) {
    qsizetype section = -1;
    for (qsizetype i = 0; i < lines.size() && section < 0; ++i) {
        section = IsOurSection(lines[i]) ? i : -1;
    }
    if (section < 0) {
        return lines << "[" + kSection + "]" << key + "=" + value;
    }
    qsizetype lastOfSection = section;
    for (qsizetype i = section + 1; i < lines.size() && !IsSectionHeader(lines[i]); ++i) {
        if (IsLineOf(lines[i], key)) {
            lines[i] = WithValue(lines[i], value);
            return lines;
        }
        if (!lines[i].trimmed().isEmpty()) {
            lastOfSection = i;
        }
    }
    lines.insert(lastOfSection + 1, key + "=" + value);
    return lines;
}

}  // namespace

QByteArray DefaultSettingsText() {
    return "[param]\r\nskin=default\r\nlevel=Easy\r\nhint=false\r\nuser=\r\npwd=\r\nmail=";
}

QByteArray WithSetting(const QByteArray& fileText, const QString& key, const QString& value) {
    const toolkit::TextForm form = toolkit::FormOf(fileText);
    const QList<QByteArray> lines = LinesOf(toolkit::ToWorkingText(fileText, form));
    return toolkit::FromWorkingText(
        WithSettingLine(lines, key.toUtf8(), value.toUtf8()).join(form.lineEnd), form);
}

}  // namespace app
