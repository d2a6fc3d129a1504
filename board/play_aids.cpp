#include "board/play_aids.h"

#include "board/conflicts.h"

namespace board {

BoardMarks FindMarks(const MarkSources& sources) {
    BoardMarks marks{};
    const BoardState& cells = sources.cells;
    if (sources.conflictsShown) {
        BoardCellTexts texts;
        for (int index = 0; index < 81; ++index) {
            texts[index / 9][index % 9] = cells[index].text;
        }
        const ConflictMap conflicts = FindConflicts(texts);
        for (int index = 0; index < 81; ++index) {
            marks[index].conflict = conflicts[index / 9][index % 9];
        }
    }
    if (sources.aids.markMistakes && sources.solution.size() == 81) {
        for (int index = 0; index < 81; ++index) {
            const QString& text = cells[index].text;
            marks[index].mistake = !text.isEmpty() &&
                                   !sources.locked.Contains(index % 9, index / 9) &&
                                   text.at(0) != sources.solution.at(index);
        }
    }
    if (sources.explanation != nullptr) {
        const StepExplanation& explained = *sources.explanation;
        for (int cell : explained.pattern) {
            marks[cell].stepPattern = true;
        }
        for (int cell : explained.changed) {
            marks[cell].stepChange = true;
        }
        for (const StepExplanation::Candidate& removed : explained.removes) {
            marks[removed.cell].stepRemoves |= NoteBit(removed.digit);
        }
        for (int cell : explained.mistakes) {
            marks[cell].mistake = !sources.locked.Contains(cell % 9, cell / 9);
        }
    }
    if (!sources.selected) {
        return marks;
    }
    const int selected = *sources.selected;
    if (sources.aids.highlightHouses) {
        for (int index = 0; index < 81; ++index) {
            marks[index].shaded =
                index != selected && ArePeers(index % 9, index / 9, selected % 9, selected / 9);
        }
    }
    const QString& digit = cells[selected].text;
    if (sources.aids.highlightSameDigits && !digit.isEmpty()) {
        const Notes bit = NoteBit(digit.toInt());
        for (int index = 0; index < 81; ++index) {
            marks[index].sameDigit = cells[index].text == digit;
            marks[index].sameDigitNote =
                cells[index].text.isEmpty() ? static_cast<Notes>(cells[index].notes & bit) : 0;
        }
    }
    return marks;
}

}  // namespace board
