#include "sudoku/rating/step.h"

namespace sudoku::rating {

std::string DifficultyText(int difficulty) {
    return std::to_string(difficulty / 10) + "." + std::to_string(difficulty % 10);
}

}  // namespace sudoku::rating
