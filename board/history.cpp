#include "board/history.h"

namespace board {

Action Difference(const BoardState& before, const BoardState& after) {
    Action changes;
    for (int index = 0; index < static_cast<int>(before.size()); ++index) {
        if (before[index] != after[index]) {
            changes.push_back({index, before[index], after[index]});
        }
    }
    return changes;
}

void History::Record(Action action) {
    if (action.empty()) {
        return;
    }
    done_.push_back(std::move(action));
    undone_.clear();
}

std::optional<Action> History::Undo() {
    if (done_.empty()) {
        return std::nullopt;
    }
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    return undone_.back();
}

std::optional<Action> History::Redo() {
    if (undone_.empty()) {
        return std::nullopt;
    }
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    return done_.back();
}

void History::Clear() {
    done_.clear();
    undone_.clear();
}

}  // namespace board
