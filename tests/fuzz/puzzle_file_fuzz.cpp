// Fuzz target: the puzzle file reader takes any bytes without crashing, and whatever it
// accepts is a grid it would also write and read back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sudoku/puzzle_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto read = sudoku::ParsePuzzleFile(text);
    if (const auto* grid = std::get_if<sudoku::Grid>(&read)) {
        if (!sudoku::FollowsTheRules(*grid) ||
            sudoku::FilledCount(*grid) < sudoku::kMinimumGivens) {
            std::abort();
        }
        auto again = sudoku::ParsePuzzleFile(sudoku::FormatPuzzleFile(*grid));
        if (!std::holds_alternative<sudoku::Grid>(again) ||
            std::get<sudoku::Grid>(again) != *grid) {
            std::abort();
        }
    }
    return 0;
}
