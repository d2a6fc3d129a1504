#include "board/hint_text.h"

#include "toolkit/sentences.h"

namespace board {

Notes CandidateNotes(const QString& candidateText) {
    Notes notes = 0;
    for (int digit = 1; digit <= 9; ++digit) {
        if (digit < candidateText.size() && candidateText[digit] == u'1') {
            notes |= NoteBit(digit);
        }
    }
    return notes;
}

QString FormatCandidates(Notes candidates) {
    QString list;
    for (int digit = 1; digit <= 9; ++digit) {
        if ((candidates & NoteBit(digit)) != 0) {
            list += u' ' + QString::number(digit) + QStringLiteral(" |");
        }
    }
    return list;
}

QString HintPanelText(std::optional<Notes> candidates) {
    if (!candidates) {
        return sentences::kHintsOff;
    }
    if (*candidates == 0) {
        return sentences::kHintNoCandidates;
    }
    return sentences::kHintList + FormatCandidates(*candidates);
}

}  // namespace board
