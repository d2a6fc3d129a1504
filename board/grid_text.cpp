#include "board/grid_text.h"

namespace board {

namespace {

// The digits of a note mask, each after a blank: " 2 5 9".
QString DigitWords(unsigned notes) {
    QString words;
    for (int digit = 1; digit <= 9; ++digit) {
        if ((notes & NoteBit(digit)) != 0) {
            words += u' ' + QString::number(digit);
        }
    }
    return words;
}

}  // namespace

int GridTextOffset(int column, int row) {
    return 20 * row + 2 * column;
}

QString EmptyGridText() {
    return QStringLiteral("0 0 0 0 0 0 0 0 0 \r\n").repeated(9);
}

BoardCellTexts ParseGridText(const QString& text) {
    BoardCellTexts cells;
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            const int offset = GridTextOffset(column, row);
            if (offset < text.size()) {
                cells[row][column] = text.at(offset);
            }
        }
    }
    return cells;
}

QString CellDescription(int column, int row, bool locked, unsigned notes, const CellMarks& marks) {
    QString description = QStringLiteral("row %1, column %2").arg(row + 1).arg(column + 1);
    if (locked) {
        description += QStringLiteral(", locked");
    }
    if (notes != 0) {
        description += QStringLiteral(", notes") + DigitWords(notes);
    }
    if (marks.sameDigit) {
        description += QStringLiteral(", same digit");
    }
    if (marks.conflict) {
        description += QStringLiteral(", repeated");
    }
    if (marks.mistake) {
        description += QStringLiteral(", mistake");
    }
    if (marks.stepPattern) {
        description += QStringLiteral(", in the step");
    }
    if (marks.stepChange) {
        description += QStringLiteral(", changed by the step");
    }
    if (marks.stepRemoves != 0) {
        description += QStringLiteral(", the step removes") + DigitWords(marks.stepRemoves);
    }
    return description;
}

}  // namespace board
