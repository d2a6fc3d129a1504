// Speed of the solver on the public puzzle sets, single thread, beside Debian's qqwing.
//
// Run (Release build, from the repository root):
//
//     cmake --preset release -DQUILLMARK_BUILD_GUI=OFF
//     cmake --build build/release --target solver_bench
//     build/release/bench/solver_bench [--qqwing-sample N] [--no-qqwing] [puzzle dir]
//
// For every file of the puzzle folder (QUILLMARK_PUZZLE_DIR unless a folder is given) it
// times solving every puzzle (CountSolutions with limit 1) and the uniqueness check
// (CountSolutions with limit 2), taking the fastest of the whole-file passes that fit in a
// second, and checks every answer: a solved grid agreeing with the givens, the file's own
// solution where it has one, exactly one solution (two for the multi-solution set). A wrong
// answer stops the run with exit status 1. It also times RandomSolvedGrid.
//
// qqwing solves far slower, so it gets the first N puzzles of each file (1000 unless
// --qqwing-sample says otherwise, 0 meaning all), once with --solve and once with
// --count-solutions; the comparison table times ours on that same sample. qqwing's time is
// the total it reports itself (--timer), so process start-up is left out. qqwing counts
// every solution of a puzzle, with no cap at two: on the multi-solution set its count is
// not the same work as our uniqueness check.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "sudoku/grid.h"
#include "sudoku/solver.h"

namespace {

using sudoku::Grid;
using Clock = std::chrono::steady_clock;

struct Puzzle {
    Grid givens;
    std::optional<Grid> solution;  // where the file carries one
};

struct PuzzleFile {
    std::string name;
    std::vector<Puzzle> puzzles;
    bool severalSolutions = false;  // the multi-solution set
};

[[noreturn]] void Fail(const std::string& message) {
    std::cerr << "solver_bench: " << message << "\n";
    std::exit(1);
}

// A .txt file: the puzzle in the first 81 characters of a line, then maybe a solution of 81
// digits among space-separated fields. The .csv file: a header, then puzzle,solution,...
PuzzleFile ReadPuzzleFile(const std::filesystem::path& path) {
    PuzzleFile file;
    file.name = path.filename().string();
    file.severalSolutions = file.name.find("multisolution") != std::string::npos;
    bool csv = path.extension() == ".csv";
    std::ifstream in(path);
    std::string line;
    if (csv) {
        std::getline(in, line);
    }
    while (std::getline(in, line)) {
        if (line.empty()) {
            continue;
        }
        auto givens = sudoku::ParseLine(line);
        if (!givens) {
            Fail(file.name + ": cannot read the puzzle in " + line);
        }
        Puzzle puzzle{*givens, std::nullopt};
        char separator = csv ? ',' : ' ';
        if (line.size() >= 163 && line[81] == separator) {
            puzzle.solution = sudoku::ParseLine(line.substr(82, 81));
        }
        file.puzzles.push_back(puzzle);
    }
    return file;
}

// Microseconds per puzzle: the fastest of as many passes as fit in about a second, and at
// least one.
template <typename Pass>
double MicrosecondsPerPuzzle(std::size_t count, Pass pass) {
    double best = 1e300;
    auto start = Clock::now();
    for (int round = 0; round < 1 || Clock::now() - start < std::chrono::seconds(1); ++round) {
        auto passStart = Clock::now();
        pass();
        std::chrono::duration<double, std::micro> took = Clock::now() - passStart;
        best = std::min(best, took.count() / static_cast<double>(count));
    }
    return best;
}

struct OurFigures {
    double solveMicros = 0;
    double uniqueMicros = 0;
};

// Times our solver on the first count puzzles of file and checks every answer.
OurFigures TimeOurs(const PuzzleFile& file, std::size_t count) {
    std::vector<Grid> answers(count);
    std::vector<int> counts(count);
    OurFigures figures;
    figures.solveMicros = MicrosecondsPerPuzzle(count, [&] {
        for (std::size_t i = 0; i < count; ++i) {
            counts[i] = sudoku::CountSolutions(file.puzzles[i].givens, 1, &answers[i]);
        }
    });
    for (std::size_t i = 0; i < count; ++i) {
        const Puzzle& puzzle = file.puzzles[i];
        std::string where = file.name + " line " + std::to_string(i + 1) + ": ";
        if (counts[i] != 1 || !sudoku::IsSolved(answers[i]) ||
            !sudoku::Agrees(puzzle.givens, answers[i])) {
            Fail(where + "wrong answer " + sudoku::FormatLine(answers[i]));
        }
        if (puzzle.solution && *puzzle.solution != answers[i]) {
            Fail(where + "answer differs from the file's solution");
        }
    }
    figures.uniqueMicros = MicrosecondsPerPuzzle(count, [&] {
        for (std::size_t i = 0; i < count; ++i) {
            counts[i] = sudoku::CountSolutions(file.puzzles[i].givens, 2);
        }
    });
    int expected = file.severalSolutions ? 2 : 1;
    for (std::size_t i = 0; i < count; ++i) {
        if (counts[i] != expected) {
            Fail(file.name + " line " + std::to_string(i + 1) + ": " + std::to_string(counts[i]) +
                 " solutions counted, expected " + std::to_string(expected));
        }
    }
    return figures;
}

// qqwing's own total time, in microseconds per puzzle, for the first count puzzles of file;
// nothing when it did not run or did not answer every puzzle. Each solution it prints must
// be a solved grid agreeing with its puzzle.
std::optional<double> TimeQqwing(const std::string& qqwing, const PuzzleFile& file,
                                 std::size_t count, bool countSolutions) {
    char inputPath[] = "/tmp/solver_bench_XXXXXX";
    int fd = mkstemp(inputPath);
    if (fd < 0) {
        return std::nullopt;
    }
    {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) {
            text += sudoku::FormatLine(file.puzzles[i].givens) + "\n";
        }
        bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        close(fd);
        if (!written) {
            std::remove(inputPath);
            return std::nullopt;
        }
    }
    std::string command = qqwing + " --solve --one-line --timer" +
                          (countSolutions ? " --count-solutions" : "") + " < " + inputPath;
    FILE* out = popen(command.c_str(), "r");
    if (out == nullptr) {
        std::remove(inputPath);
        return std::nullopt;
    }
    std::size_t answered = 0;
    std::optional<double> seconds;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, out) != nullptr) {
        std::string line(buffer);
        if (auto grid = sudoku::ParseLine(line); grid && line.size() >= 81) {
            if (answered >= count || !sudoku::IsSolved(*grid) ||
                !sudoku::Agrees(file.puzzles[answered].givens, *grid)) {
                Fail(file.name + ": qqwing printed a wrong solution " + line);
            }
            ++answered;
        } else if (line.find("puzzles solved in") != std::string::npos ||
                   line.find("puzzle solved in") != std::string::npos) {
            auto in = line.find(" in ");
            seconds = std::atof(line.c_str() + in + 4);
        }
    }
    pclose(out);
    std::remove(inputPath);
    if (!seconds || answered != count) {
        return std::nullopt;
    }
    return *seconds * 1e6 / static_cast<double>(count);
}

std::string FindQqwing() {
    for (const char* path : {"/usr/games/qqwing", "/usr/bin/qqwing", "/usr/local/bin/qqwing"}) {
        if (access(path, X_OK) == 0) {
            return path;
        }
    }
    return {};
}

void PrintRow(const std::string& name, std::size_t count, double solve, double unique) {
    std::printf("%-50s %7zu %10.2f %10.0f %10.2f %10.0f\n", name.c_str(), count, solve, 1e6 / solve,
                unique, 1e6 / unique);
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path dir = QUILLMARK_PUZZLE_DIR;
    std::size_t sample = 1000;
    bool runQqwing = true;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--qqwing-sample" && i + 1 < argc) {
            sample = std::strtoul(argv[++i], nullptr, 10);
        } else if (arg == "--no-qqwing") {
            runQqwing = false;
        } else {
            dir = arg;
        }
    }
    std::vector<std::filesystem::path> paths;
    if (std::filesystem::is_directory(dir)) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            auto extension = entry.path().extension();
            if (extension == ".txt" || extension == ".csv") {
                paths.push_back(entry.path());
            }
        }
    }
    if (paths.empty()) {
        Fail("no puzzle files in " + dir.string());
    }
    std::sort(paths.begin(), paths.end());
    std::vector<PuzzleFile> files;
    for (const auto& path : paths) {
        files.push_back(ReadPuzzleFile(path));
    }

    std::printf("Our solver, whole files (fastest pass; every answer checked)\n");
    std::printf("%-50s %7s %10s %10s %10s %10s\n", "file", "puzzles", "solve us", "solve/s",
                "unique us", "unique/s");
    for (const auto& file : files) {
        OurFigures ours = TimeOurs(file, file.puzzles.size());
        PrintRow(file.name, file.puzzles.size(), ours.solveMicros, ours.uniqueMicros);
    }

    {
        constexpr int kGrids = 20000;
        sudoku::Random random(1);
        std::vector<Grid> grids(kGrids);
        double micros = MicrosecondsPerPuzzle(kGrids, [&] {
            for (Grid& grid : grids) {
                grid = sudoku::RandomSolvedGrid(random);
            }
        });
        for (const Grid& grid : grids) {
            if (!sudoku::IsSolved(grid)) {
                Fail("RandomSolvedGrid gave " + sudoku::FormatLine(grid));
            }
        }
        std::printf("RandomSolvedGrid: %.2f us per grid\n", micros);
    }

    std::string qqwing = runQqwing ? FindQqwing() : std::string();
    if (qqwing.empty()) {
        std::printf("\nqqwing %s: no comparison\n", runQqwing ? "not found" : "skipped");
        return 0;
    }
    std::printf("\nBeside %s on the first %s puzzles of each file (us per puzzle)\n",
                qqwing.c_str(), sample == 0 ? "all" : std::to_string(sample).c_str());
    std::printf("%-50s %7s %9s %9s %8s %9s %9s %8s\n", "file", "sample", "solve", "qqwing", "ratio",
                "unique", "qq count", "ratio");
    for (const auto& file : files) {
        std::size_t count =
            sample == 0 ? file.puzzles.size() : std::min(sample, file.puzzles.size());
        OurFigures ours = TimeOurs(file, count);
        auto theirSolve = TimeQqwing(qqwing, file, count, false);
        auto theirCount = TimeQqwing(qqwing, file, count, true);
        std::printf("%-50s %7zu %9.2f", file.name.c_str(), count, ours.solveMicros);
        if (theirSolve) {
            std::printf(" %9.1f %7.0fx", *theirSolve, *theirSolve / ours.solveMicros);
        } else {
            std::printf(" %9s %8s", "failed", "-");
        }
        std::printf(" %9.2f", ours.uniqueMicros);
        if (theirCount) {
            std::printf(" %9.1f %7.0fx\n", *theirCount, *theirCount / ours.uniqueMicros);
        } else {
            std::printf(" %9s %8s\n", "failed", "-");
        }
        std::fflush(stdout);
    }
    std::printf(
        "qqwing --count-solutions counts every solution, with no cap at two: on the\n"
        "multi-solution set its figure is not the same work as our uniqueness check.\n");
    return 0;
}
