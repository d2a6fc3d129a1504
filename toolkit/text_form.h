#pragma once

#include <QByteArray>

namespace toolkit {

// How a small text file (a settings or colour file) was written, so that it is read whatever
// the editor did and rewritten the way it came: its encoding, as a byte-order mark tells, and
// the line end it uses first.
struct TextForm {
    enum class Encoding {
        Bytes,    // no byte-order mark: 8-bit text, UTF-8 or Latin-1, kept byte for byte
        Utf8Bom,  // UTF-8 after EF BB BF
        Utf16Le,  // UTF-16 after FF FE
        Utf16Be,  // UTF-16 after FE FF
    };
    Encoding encoding = Encoding::Bytes;
    // CR LF, LF or a lone CR; CR LF for a file without any line end.
    QByteArray lineEnd = "\r\n";
};

TextForm FormOf(const QByteArray& file);

// The file's text as 8-bit bytes without its byte-order mark (UTF-16 becomes UTF-8), to be
// worked on line by line.
QByteArray ToWorkingText(const QByteArray& file, const TextForm& form);

// Working text back into the file's own encoding, its byte-order mark first.
QByteArray FromWorkingText(const QByteArray& text, const TextForm& form);

// The lines of working text, split at CR LF, LF or a lone CR, without their line ends; a text
// that ends with a line end has no empty last line.
QList<QByteArray> SplitLines(const QByteArray& text);

}  // namespace toolkit
