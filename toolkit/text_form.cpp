#include "toolkit/text_form.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

namespace toolkit {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
const QByteArray kUtf16LeBom("\xFF\xFE");
const QByteArray kUtf16BeBom("\xFE\xFF");

QStringConverter::Encoding Utf16Of(TextForm::Encoding encoding) {
    return encoding == TextForm::Encoding::Utf16Le ? QStringConverter::Utf16LE
                                                   : QStringConverter::Utf16BE;
}

}  // namespace

TextForm FormOf(const QByteArray& file) {
    TextForm form;
    if (file.startsWith(kUtf8Bom)) {
        form.encoding = TextForm::Encoding::Utf8Bom;
    } else if (file.startsWith(kUtf16LeBom)) {
        form.encoding = TextForm::Encoding::Utf16Le;
    } else if (file.startsWith(kUtf16BeBom)) {
        form.encoding = TextForm::Encoding::Utf16Be;
    }
    const QByteArray text = ToWorkingText(file, form);
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] == '\n') {
            form.lineEnd = "\n";
            break;
        }
        if (text[at] == '\r') {
            form.lineEnd = at + 1 < text.size() && text[at + 1] == '\n' ? "\r\n" : "\r";
            break;
        }
    }
    return form;
}

QByteArray ToWorkingText(const QByteArray& file, const TextForm& form) {
    switch (form.encoding) {
        case TextForm::Encoding::Bytes:
            return file;
        case TextForm::Encoding::Utf8Bom:
            return file.mid(kUtf8Bom.size());
        case TextForm::Encoding::Utf16Le:
        case TextForm::Encoding::Utf16Be: {
            QStringDecoder decode(Utf16Of(form.encoding));
            return QString(decode(file.mid(2))).toUtf8();
        }
    }
    return file;
}

QByteArray FromWorkingText(const QByteArray& text, const TextForm& form) {
    switch (form.encoding) {
        case TextForm::Encoding::Bytes:
            return text;
        case TextForm::Encoding::Utf8Bom:
            return kUtf8Bom + text;
        case TextForm::Encoding::Utf16Le:
        case TextForm::Encoding::Utf16Be: {
            QStringEncoder encode(Utf16Of(form.encoding));
            const QByteArray bom =
                form.encoding == TextForm::Encoding::Utf16Le ? kUtf16LeBom : kUtf16BeBom;
            return bom + QByteArray(encode(QString::fromUtf8(text)));
        }
    }
    return text;
}

QList<QByteArray> SplitLines(const QByteArray& text) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] == '\r' || text[at] == '\n') {
            lines << text.mid(start, at - start);
            if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') {
                ++at;
            }
            start = at + 1;
        }
    }
    if (start < text.size()) {
        lines << text.mid(start);
    }
    return lines;
}

}  // namespace toolkit
