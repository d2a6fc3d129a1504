#pragma once

#include "sudoku/grid.h"
