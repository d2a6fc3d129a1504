#pragma once

#include <cstdint>
#include <string>

#include "sudoku/grid.h"
#include "sudoku/solver.h"

namespace puzzle_engine {

// The engine's text form of a grid: nine lines, top row first, each of nine cells written
// as a digit ("0" for an empty cell) and a blank, ended by CR LF; 180 characters.
std::string FormatGridText(const sudoku::Grid& grid);

// The ten-character candidate text of cell (row, column): the cell's digit ("0" when it is
// empty), then for each digit 1 to 9 "1" when it does not yet stand in the cell's row,
// column or box, else "0". A filled cell has no candidates.
std::string CandidateText(const sudoku::Grid& grid, int row, int column);

// The one current grid the engine holds, and the work done on it. Methods that can fail
// return an empty text on success and an error code otherwise, and change nothing when
// they fail.
class PuzzleSession {
public:
    // seed 0 draws the generator's seed from the system's entropy.
    explicit PuzzleSession(std::uint64_t seed);

    const sudoku::Grid& Current() const { return grid_; }
    // Holds grid in place of the current one, as it is (a puzzle handed in from outside).
    void Replace(const sudoku::Grid& grid) { grid_ = grid; }

    // A new puzzle for a level number from 0 to 81 (50 Easy, 65 Medium, 81 Hard; others the
    // nearest class) with at most that many empty cells.
    std::string Generate(int levelNumber);

    // digit 1 to 9 stores it, 0 empties the cell; rows and columns are 0 to 8.
    std::string WriteCell(int row, int column, int digit);
    // The candidate text, or an error code for a cell off the board.
    std::string Candidates(int row, int column) const;
    void Clear() { grid_ = sudoku::Grid{}; }

    int FilledCount() const { return sudoku::FilledCount(grid_); }
    // No rule broken and at least one solution.
    bool IsSolvable() const;
    bool IsSolved() const { return sudoku::IsSolved(grid_); }
    // Fills the grid with a solution; false (grid unchanged) when it has none.
    bool Solve();

    // Save and Load keep the contracts of sudoku::WritePuzzleFile and sudoku::ReadPuzzleFile:
    // links are followed to the file at their end, which keeps its permissions when replaced;
    // anything but a regular file (a folder, a FIFO, a device, a link to one) and a path
    // holding a NUL are refused untouched. FileError::Missing answers ERRORE_FILE_NON_ESISTE,
    // CannotOpen ERRORE_APERTURA_FILE, BadContent ERRORE_FORMATO_O_INSUFFICIENTI_VALORI.
    std::string Save(const std::string& path) const;
    std::string Load(const std::string& path);

private:
    sudoku::Grid grid_;
    sudoku::Random random_;
};

}  // namespace puzzle_engine
