// Speed and output of the puzzle generator per level, single thread, beside Debian's qqwing.
//
// Run (Release build, from the repository root):
//
//     cmake -S . -B build/making -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLMARK_BUILD_GUI=OFF
//     cmake --build build/making --target generator_bench
//     build/making/bench/generator_bench [--count N] [--qqwing-count N] [--seed S]
//
// For each level it generates --count puzzles (1000 by default) with the engine's room
// (Easy 50, Medium 65, Hard 81 empty cells), timing every call, and reports the p50, p99 and
// largest latency, the givens (least, median, most and a histogram) and the hardest
// technique each puzzle needs. Every puzzle is then checked outside the timing: one
// solution, within the room, of its class; a wrong one stops the run with exit status 1.
//
// qqwing generates --qqwing-count puzzles (1000 by default, 0 to skip) at the difficulty we
// set beside each level: Easy beside its "easy" (hidden singles needed), Medium beside
// "intermediate" (pairs and intersections), Hard beside "expert" (guessing needed). qqwing
// throws away puzzles of another difficulty, and its --timer times only the attempt that is
// kept, so its per-puzzle figures leave its retries out; its mean is its own total for the
// run (which does include them) over the count. Ratios are qqwing's time over ours.

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sudoku/generator.h"
#include "sudoku/grader.h"
#include "sudoku/solver.h"

namespace {

using namespace sudoku;
using Clock = std::chrono::steady_clock;

[[noreturn]] void Fail(const std::string& message) {
    std::cerr << "generator_bench: " << message << "\n";
    std::exit(1);
}

struct LevelRun {
    const char* name;
    Level level;
    int maxEmptied;
    const char* qqwingDifficulty;
};

constexpr std::array<LevelRun, 3> kRuns = {{
    {"Easy", Level::Easy, 50, "easy"},
    {"Medium", Level::Medium, 65, "intermediate"},
    {"Hard", Level::Hard, 81, "expert"},
}};

// Latencies in microseconds.
struct Latency {
    double p50 = 0, p99 = 0, max = 0, mean = 0;
};

Latency Summarise(std::vector<double> micros) {
    Latency latency;
    if (micros.empty()) {
        return latency;
    }
    std::sort(micros.begin(), micros.end());
    auto at = [&](double q) {
        return micros[std::min(micros.size() - 1, static_cast<std::size_t>(q * micros.size()))];
    };
    latency.p50 = at(0.50);
    latency.p99 = at(0.99);
    latency.max = micros.back();
    for (double m : micros) {
        latency.mean += m / static_cast<double>(micros.size());
    }
    return latency;
}

bool InClass(const Grade& grade, Level level) {
    switch (level) {
        case Level::Easy:
            return grade.SolvedBySingles();
        case Level::Medium:
            return !grade.SolvedBySingles() && grade.SolvedByMediumSet();
        case Level::Hard:
            return !grade.SolvedByMediumSet();
    }
    return false;
}

bool IsMinimal(const Grid& puzzle) {
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (puzzle.cells[cell] != 0) {
            Grid fewer = puzzle;
            fewer.cells[cell] = 0;
            if (HasUniqueSolution(fewer)) {
                return false;
            }
        }
    }
    return true;
}

struct OurRun {
    Latency latency;
    std::map<int, int> givens;                   // givens -> puzzles
    std::array<int, kTechniqueCount> hardest{};  // technique -> puzzles
};

OurRun RunOurs(const LevelRun& run, int count, std::uint64_t seed) {
    OurRun result;
    Random random(seed);
    std::vector<double> micros;
    std::vector<GeneratedPuzzle> puzzles;
    micros.reserve(count);
    puzzles.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto start = Clock::now();
        puzzles.push_back(Generate(run.level, run.maxEmptied, random));
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    result.latency = Summarise(micros);
    for (const GeneratedPuzzle& generated : puzzles) {
        const Grid& puzzle = generated.puzzle;
        Grade grade = GradePuzzle(puzzle);
        if (!HasUniqueSolution(puzzle) || !Agrees(puzzle, generated.solution) ||
            kCellCount - FilledCount(puzzle) > run.maxEmptied || !InClass(grade, run.level) ||
            (run.level == Level::Hard && !IsMinimal(puzzle))) {
            Fail(std::string(run.name) + ": a puzzle out of its class " + FormatLine(puzzle));
        }
        ++result.givens[FilledCount(puzzle)];
        ++result.hardest[static_cast<int>(grade.hardest)];
    }
    return result;
}

struct QqwingRun {
    Latency kept;            // its --timer figures: the attempt that was kept
    double meanWithRetries;  // its total over the count
};

std::string FindQqwing() {
    for (const char* path : {"/usr/games/qqwing", "/usr/bin/qqwing", "/usr/local/bin/qqwing"}) {
        if (std::filesystem::exists(path)) {
            return path;
        }
    }
    return {};
}

// Runs qqwing --generate count --difficulty difficulty --csv --timer and reads the time of
// every puzzle ("puzzle,milliseconds,") and the closing "N puzzles generated in S seconds."
std::optional<QqwingRun> RunQqwing(const std::string& qqwing, const char* difficulty, int count) {
    std::string command = qqwing + " --generate " + std::to_string(count) + " --difficulty " +
                          difficulty + " --csv --timer 2>&1";
    FILE* out = popen(command.c_str(), "r");
    if (out == nullptr) {
        return std::nullopt;
    }
    std::vector<double> micros;
    std::optional<double> totalSeconds;
    std::array<char, 512> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), out) != nullptr) {
        std::string line(buffer.data());
        int generated = 0;
        double seconds = 0;
        if (std::sscanf(line.c_str(), "%d puzzles generated in %lf seconds", &generated,
                        &seconds) == 2) {
            totalSeconds = seconds;
        } else if (line.size() > 82 && line[81] == ',' && ParseLine(line)) {
            micros.push_back(std::atof(line.c_str() + 82) * 1000.0);
        }
    }
    int status = pclose(out);
    if (status != 0 || !totalSeconds || static_cast<int>(micros.size()) != count) {
        return std::nullopt;
    }
    return QqwingRun{Summarise(micros), *totalSeconds * 1e6 / count};
}

void PrintOurs(const LevelRun& run, const OurRun& ours) {
    int total = 0;
    for (const auto& [givens, puzzles] : ours.givens) {
        total += puzzles;
    }
    int median = 0;
    for (int seen = 0; const auto& [givens, puzzles] : ours.givens) {
        seen += puzzles;
        if (seen * 2 >= total) {
            median = givens;
            break;
        }
    }
    std::printf("\n%s (room %d): p50 %.3f ms, p99 %.3f ms, max %.3f ms, mean %.3f ms\n", run.name,
                run.maxEmptied, ours.latency.p50 / 1000, ours.latency.p99 / 1000,
                ours.latency.max / 1000, ours.latency.mean / 1000);
    std::printf("  givens: least %d, median %d, most %d;", ours.givens.begin()->first, median,
                ours.givens.rbegin()->first);
    for (const auto& [givens, puzzles] : ours.givens) {
        std::printf(" %d:%d", givens, puzzles);
    }
    std::printf("\n  hardest technique:");
    for (int t = 0; t < kTechniqueCount; ++t) {
        if (ours.hardest[t] > 0) {
            std::printf(" %s %d,", std::string(TechniqueName(static_cast<Technique>(t))).c_str(),
                        ours.hardest[t]);
        }
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    int count = 1000;
    int qqwingCount = 1000;
    std::uint64_t seed = 1;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--count" && i + 1 < argc) {
            count = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--qqwing-count" && i + 1 < argc) {
            qqwingCount = std::max(0, std::atoi(argv[++i]));
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = std::strtoull(argv[++i], nullptr, 10);
        } else {
            Fail("usage: generator_bench [--count N] [--qqwing-count N] [--seed S]");
        }
    }

    std::printf("Generating %d puzzles per level, one thread, seed %llu\n", count,
                static_cast<unsigned long long>(seed));
    std::array<OurRun, kRuns.size()> ours;
    for (std::size_t i = 0; i < kRuns.size(); ++i) {
        ours[i] = RunOurs(kRuns[i], count, seed);
        PrintOurs(kRuns[i], ours[i]);
    }

    std::string qqwing = qqwingCount > 0 ? FindQqwing() : std::string();
    if (qqwing.empty()) {
        std::printf("\nqqwing %s: no comparison\n", qqwingCount > 0 ? "not found" : "skipped");
        return 0;
    }
    std::printf(
        "\nBeside %s, %d puzzles per difficulty (ms; qqwing's p50/p99/max leave its "
        "retries out, its mean keeps them):\n",
        qqwing.c_str(), qqwingCount);
    std::printf("%-22s %8s %8s %8s %8s | %8s %8s %8s %8s | %9s %9s %9s\n", "level (qqwing)", "p50",
                "p99", "max", "mean", "qq p50", "qq p99", "qq max", "qq mean", "x p50", "x p99",
                "x mean");
    for (std::size_t i = 0; i < kRuns.size(); ++i) {
        const LevelRun& run = kRuns[i];
        std::optional<QqwingRun> theirs = RunQqwing(qqwing, run.qqwingDifficulty, qqwingCount);
        if (!theirs) {
            Fail(std::string("qqwing did not run at ") + run.qqwingDifficulty);
        }
        const Latency& our = ours[i].latency;
        std::string label = std::string(run.name) + " (" + run.qqwingDifficulty + ")";
        std::printf("%-22s %8.3f %8.3f %8.3f %8.3f | %8.3f %8.3f %8.3f %8.3f | %9.1f %9.1f %9.1f\n",
                    label.c_str(), our.p50 / 1000, our.p99 / 1000, our.max / 1000, our.mean / 1000,
                    theirs->kept.p50 / 1000, theirs->kept.p99 / 1000, theirs->kept.max / 1000,
                    theirs->meanWithRetries / 1000, theirs->kept.p50 / our.p50,
                    theirs->kept.p99 / our.p99, theirs->meanWithRetries / our.mean);
    }
    return 0;
}
