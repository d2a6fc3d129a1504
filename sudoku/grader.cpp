#include "sudoku/grader.h"
