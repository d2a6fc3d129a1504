#include "board/hints.h"

#include "board/hint_text.h"
#include "engine/puzzle_engine.h"
#include "toolkit/sentences.h"

namespace board {

Hints::Hints(engine::PuzzleEngine& engine, QObject* parent) : QObject(parent), engine_(engine) {}

void Hints::Lock(bool locked) {
    // A second lock (a new game over a running one) keeps the player's setting, not the off.
    if (locked && !locked_) {
        kept_ = on_;
        on_ = false;
    } else if (!locked && locked_) {
        on_ = kept_;
    }
    locked_ = locked;
}

QString Hints::StateText() const {
    return on_ ? sentences::kHintsOn : sentences::kHintsOff;
}

void Hints::ShowHint(int column, int row) {
    if (!on_) {
        emit hintShown(std::nullopt);
        return;
    }
    emit hintShown(CandidateNotes(engine_.Candidates({.row = row, .column = column})));
}

}  // namespace board
