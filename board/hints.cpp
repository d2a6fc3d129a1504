#include "board/hints.h"

#include "board/hint_text.h"
#include "engine/puzzle_engine.h"
#include "toolkit/sentences.h"

namespace board {

Hints::Hints(engine::PuzzleEngine& engine, QObject* parent) : QObject(parent), engine_(engine) {}

void Hints::Lock(bool locked) {
    if (locked) {
        kept_ = on_;
        on_ = false;
    } else {
        on_ = kept_;
    }
}

QString Hints::StateText() const {
    return on_ ? sentences::kHintsOn : sentences::kHintsOff;
}

void Hints::ShowHint(int column, int row) {
    if (!on_) {
        emit hintShown(sentences::kHintsOff);
        return;
    }
    const QString list = FormatCandidates(engine_.Candidates({.row = row, .column = column}));
    emit hintShown(list.isEmpty() ? QString(sentences::kHintNoCandidates)
                                  : sentences::kHintList + list);
}

}  // namespace board
