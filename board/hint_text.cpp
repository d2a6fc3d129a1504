#include "board/hint_text.h"

namespace board {

QString FormatCandidates(const QString& candidateText) {
    QString list;
    for (int digit = 1; digit <= 9; ++digit) {
        if (digit < candidateText.size() && candidateText[digit] == u'1') {
            list += u' ' + QString::number(digit) + QStringLiteral(" |");
        }
    }
    return list;
}

}  // namespace board
