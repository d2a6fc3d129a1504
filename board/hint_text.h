#pragma once

#include <QString>
#include <optional>

#include "board/history.h"

namespace board {

// The digits of a candidate text as pencil notes: bit d for each digit d from 1 to 9 whose
// character at index d is "1". The first character is not read; a short text flags only the
// digits it reaches.
Notes CandidateNotes(const QString& candidateText);

// The hint list of some candidates: for each digit, a blank, the digit and " |"
// (" 2 | 5 | 9 |").
QString FormatCandidates(Notes candidates);

// The hint panel's text for a chosen cell: "Hint disabled" while hints are off (nothing), else
// "Hint: |" and the list, or "Hint: none" for a cell without candidates.
QString HintPanelText(std::optional<Notes> candidates);

}  // namespace board
