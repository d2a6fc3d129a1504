#include "sudoku/puzzle_file.h"
