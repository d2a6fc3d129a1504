#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace toolkit {

// The value of key in section of an INI text, read the way the settings and skin colour
// files have always been read: section and key names match without regard to case, blanks
// around names and values are dropped, the first match wins, and a value is cut to 2047
// characters. Nothing when the section or the key is missing. Any editor's text reads the
// same: a UTF-8 or UTF-16 byte-order mark, and CR LF, LF or lone CR line ends. Values of a file
// without a mark are decoded as UTF-8 when they are valid UTF-8, else byte for byte as Latin-1.
std::optional<QString> FindIniValue(const QByteArray& content, const QString& section,
                                    const QString& key);

// An INI file read afresh at every lookup, so it always answers from the file as it is now.
// A missing or unreadable file reads as empty, and so does anything but a regular file; at
// most its first MiB is read.
class IniFile {
public:
    explicit IniFile(QString path) : path_(std::move(path)) {}

    // The value, or fallback when the file, the section or the key is missing.
    QString Read(const QString& section, const QString& key, const QString& fallback) const;
    const QString& Path() const { return path_; }

private:
    QString path_;
};

}  // namespace toolkit
