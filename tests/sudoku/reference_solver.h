#pragma once

#include "sudoku/grid.h"

namespace testing_support {

// A plain backtracking solution counter, written independently of the library's solver and
// as simply as possible, so that tests can check the fast solver and the generator against
// it. Slow on hard puzzles; fine on generated ones.
int ReferenceCountSolutions(const sudoku::Grid& puzzle, int limit);

}  // namespace testing_support
