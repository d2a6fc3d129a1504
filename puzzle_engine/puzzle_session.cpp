#include "puzzle_engine/puzzle_session.h"

#include <random>

#include "puzzle_engine/error_codes.h"
#include "sudoku/generator.h"
#include "sudoku/puzzle_file.h"

namespace puzzle_engine {

namespace {

bool OnBoard(int row, int column) {
    return row >= 0 && row < sudoku::kSize && column >= 0 && column < sudoku::kSize;
}

std::uint64_t SeedOrEntropy(std::uint64_t seed) {
    if (seed != 0) {
        return seed;
    }
    std::random_device entropy;
    return (static_cast<std::uint64_t>(entropy()) << 32) | entropy();
}

const char* CodeOf(sudoku::FileError error) {
    switch (error) {
        case sudoku::FileError::Missing:
            return codes::kFileMissing;
        case sudoku::FileError::CannotOpen:
            return codes::kFileCannotOpen;
        case sudoku::FileError::BadContent:
            return codes::kBadPuzzle;
    }
    return codes::kFileCannotOpen;
}

}  // namespace

std::string FormatGridText(const sudoku::Grid& grid) {
    std::string text;
    text.reserve(180);
    for (int row = 0; row < sudoku::kSize; ++row) {
        for (int column = 0; column < sudoku::kSize; ++column) {
            text.push_back(static_cast<char>('0' + grid.At(row, column)));
            text.push_back(' ');
        }
        text.append("\r\n");
    }
    return text;
}

std::string CandidateText(const sudoku::Grid& grid, int row, int column) {
    std::string text(10, '0');
    const std::uint8_t own = grid.At(row, column);
    text[0] = static_cast<char>('0' + own);
    if (own != 0) {
        return text;
    }
    bool seen[10] = {};
    const int top = row / 3 * 3;
    const int left = column / 3 * 3;
    for (int i = 0; i < sudoku::kSize; ++i) {
        seen[grid.At(row, i)] = true;
        seen[grid.At(i, column)] = true;
        seen[grid.At(top + i / 3, left + i % 3)] = true;
    }
    for (int digit = 1; digit <= 9; ++digit) {
        text[digit] = seen[digit] ? '0' : '1';
    }
    return text;
}

PuzzleSession::PuzzleSession(std::uint64_t seed) : random_(SeedOrEntropy(seed)) {}

std::string PuzzleSession::Generate(int levelNumber) {
    std::optional<sudoku::Level> level = sudoku::LevelForNumber(levelNumber);
    if (!level) {
        return codes::kInvalidLevel;
    }
    grid_ = sudoku::Generate(*level, levelNumber, random_).puzzle;
    return {};
}

std::string PuzzleSession::WriteCell(int row, int column, int digit) {
    if (!OnBoard(row, column)) {
        return codes::kInvalidCell;
    }
    if (digit < 0 || digit > 9) {
        return codes::kInvalidValue;
    }
    grid_.Set(row, column, static_cast<std::uint8_t>(digit));
    return {};
}

std::string PuzzleSession::Candidates(int row, int column) const {
    if (!OnBoard(row, column)) {
        return codes::kInvalidCell;
    }
    return CandidateText(grid_, row, column);
}

bool PuzzleSession::IsSolvable() const {
    return sudoku::CountSolutions(grid_, 1) > 0;
}

bool PuzzleSession::Solve() {
    std::optional<sudoku::Grid> solution = sudoku::Solve(grid_);
    if (!solution) {
        return false;
    }
    grid_ = *solution;
    return true;
}

std::string PuzzleSession::Save(const std::string& path) const {
    std::optional<sudoku::FileError> error = sudoku::WritePuzzleFile(path, grid_);
    return error ? CodeOf(*error) : std::string();
}

std::string PuzzleSession::Load(const std::string& path) {
    auto read = sudoku::ReadPuzzleFile(path);
    if (const auto* error = std::get_if<sudoku::FileError>(&read)) {
        return CodeOf(*error);
    }
    grid_ = std::get<sudoku::Grid>(read);
    return {};
}

}  // namespace puzzle_engine
