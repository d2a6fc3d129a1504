#pragma once

#include <QString>

namespace board {

// The hint list of a candidate text: for each digit d from 1 to 9 whose character at index d
// is "1", a blank, the digit and " |" (" 2 | 5 | 9 |"). The first character is not read;
// a short text flags only the digits it reaches.
QString FormatCandidates(const QString& candidateText);

}  // namespace board
