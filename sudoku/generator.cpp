#include "sudoku/generator.h"
