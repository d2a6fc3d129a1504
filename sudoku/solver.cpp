#include "sudoku/solver.h"
