#include "board/board_view.h"

namespace board {

BoardMarks BoardView::Marks() const {
    if (paused_) {
        return {};
    }
    return FindMarks({.cells = cells_,
                      .locked = locked_,
                      .selected = selected_,
                      .aids = aids_,
                      .conflictsShown = conflictsShown_,
                      .solution = solution_,
                      .explanation = explanation_.kind == StepExplanation::Kind::None
                                         ? nullptr
                                         : &explanation_});
}

}  // namespace board
