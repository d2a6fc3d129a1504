// Speed and output of the puzzle generator per level, single thread, beside Debian's qqwing.
//
// Run (Release build, from the repository root):
//
//     cmake --preset release -DQUILLMARK_BUILD_GUI=OFF
//     cmake --build build/release --target generator_bench
//     build/release/bench/generator_bench [--count N] [--seed S] [--qqwing-count N]
//
// For each level it generates --count puzzles (1000 by default) with the engine's room
// (Easy 50, Medium 65, Hard 81 empty cells) from each of three seeds (S, S + 1, S + 2; 1 by
// default), timing every call, and reports in Markdown tables the p50, p99 and largest
// latency per seed, the givens (least, median, most), and how many puzzles got each rating.
// Every puzzle is then checked outside the timing: one solution, within the room, rated in
// its level's band, minimal when Hard; a wrong one stops the run with exit status 1.
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
#include <variant>
#include <vector>

#include "sudoku/generator.h"
#include "sudoku/rating/rater.h"
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

// The puzzle's rating when it lies in the level's band; nothing otherwise.
std::optional<int> RatingInBand(const Grid& puzzle, Level level) {
    const RatingBand band = BandOf(level);
    auto rated = rating::RatePuzzle(puzzle, rating::RatingLimits{.ceiling = band.most});
    const auto* rating = std::get_if<rating::Rating>(&rated);
    if (rating == nullptr || rating->difficulty < band.least || rating->difficulty > band.most) {
        return std::nullopt;
    }
    return rating->difficulty;
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
    std::vector<Latency> perSeed;
    Latency all;                 // over every seed's puzzles
    std::map<int, int> givens;   // givens -> puzzles
    std::map<int, int> ratings;  // rating in tenths -> puzzles
};

OurRun RunOurs(const LevelRun& run, int count, std::uint64_t firstSeed, int seeds) {
    OurRun result;
    std::vector<double> allMicros;
    for (int s = 0; s < seeds; ++s) {
        Random random(firstSeed + static_cast<std::uint64_t>(s));
        std::vector<double> micros;
        std::vector<GeneratedPuzzle> puzzles;
        micros.reserve(count);
        puzzles.reserve(count);
        for (int i = 0; i < count; ++i) {
            auto start = Clock::now();
            puzzles.push_back(Generate(run.level, run.maxEmptied, random));
            micros.push_back(
                std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        }
        result.perSeed.push_back(Summarise(micros));
        allMicros.insert(allMicros.end(), micros.begin(), micros.end());
        for (const GeneratedPuzzle& generated : puzzles) {
            const Grid& puzzle = generated.puzzle;
            std::optional<int> rating = RatingInBand(puzzle, run.level);
            if (!HasUniqueSolution(puzzle) || !Agrees(puzzle, generated.solution) ||
                kCellCount - FilledCount(puzzle) > run.maxEmptied || !rating ||
                (run.level == Level::Hard && !IsMinimal(puzzle))) {
                Fail(std::string(run.name) + ": a puzzle out of its class " + FormatLine(puzzle));
            }
            ++result.givens[FilledCount(puzzle)];
            ++result.ratings[*rating];
        }
    }
    result.all = Summarise(allMicros);
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

int Median(const std::map<int, int>& histogram) {
    int total = 0;
    for (const auto& [value, puzzles] : histogram) {
        total += puzzles;
    }
    for (int seen = 0; const auto& [value, puzzles] : histogram) {
        seen += puzzles;
        if (seen * 2 >= total) {
            return value;
        }
    }
    return 0;
}

void PrintOurs(const std::array<OurRun, kRuns.size()>& ours, std::uint64_t firstSeed) {
    std::printf("\n| level | room | seed | p50 ms | p99 ms | max ms | mean ms |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
    for (std::size_t i = 0; i < kRuns.size(); ++i) {
        for (std::size_t s = 0; s < ours[i].perSeed.size(); ++s) {
            const Latency& latency = ours[i].perSeed[s];
            std::printf("| %s | %d | %llu | %.3f | %.3f | %.3f | %.3f |\n", kRuns[i].name,
                        kRuns[i].maxEmptied, static_cast<unsigned long long>(firstSeed + s),
                        latency.p50 / 1000, latency.p99 / 1000, latency.max / 1000,
                        latency.mean / 1000);
        }
        const Latency& all = ours[i].all;
        std::printf("| %s | %d | all | %.3f | %.3f | %.3f | %.3f |\n", kRuns[i].name,
                    kRuns[i].maxEmptied, all.p50 / 1000, all.p99 / 1000, all.max / 1000,
                    all.mean / 1000);
    }

    std::printf("\n| level | band | givens least | median | most |\n|---|---|---:|---:|---:|\n");
    for (std::size_t i = 0; i < kRuns.size(); ++i) {
        const RatingBand band = BandOf(kRuns[i].level);
        std::printf("| %s | %s-%s | %d | %d | %d |\n", kRuns[i].name,
                    rating::DifficultyText(band.least).c_str(),
                    rating::DifficultyText(band.most).c_str(), ours[i].givens.begin()->first,
                    Median(ours[i].givens), ours[i].givens.rbegin()->first);
    }

    std::map<int, std::array<int, kRuns.size()>> ratings;
    for (std::size_t i = 0; i < kRuns.size(); ++i) {
        for (const auto& [rating, puzzles] : ours[i].ratings) {
            ratings[rating][i] = puzzles;
        }
    }
    std::printf("\n| rating | Easy | Medium | Hard |\n|---:|---:|---:|---:|\n");
    for (const auto& [rating, puzzles] : ratings) {
        std::printf("| %s | %d | %d | %d |\n", rating::DifficultyText(rating).c_str(), puzzles[0],
                    puzzles[1], puzzles[2]);
    }
}

}  // namespace

int main(int argc, char** argv) {
    constexpr int kSeeds = 3;
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
            Fail("usage: generator_bench [--count N] [--seed S] [--qqwing-count N]");
        }
    }

    std::printf("Generating %d puzzles per level and seed, one thread, seeds %llu to %llu\n", count,
                static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(seed + kSeeds - 1));
    std::array<OurRun, kRuns.size()> ours;
    for (std::size_t i = 0; i < kRuns.size(); ++i) {
        ours[i] = RunOurs(kRuns[i], count, seed, kSeeds);
    }
    PrintOurs(ours, seed);

    std::string qqwing = qqwingCount > 0 ? FindQqwing() : std::string();
    if (qqwing.empty()) {
        std::printf("\nqqwing %s: no comparison\n", qqwingCount > 0 ? "not found" : "skipped");
        return 0;
    }
    std::printf(
        "\nBeside %s, %d puzzles per difficulty (ms; qqwing's p50/p99/max leave its retries "
        "out, its mean keeps them; ours over every seed):\n\n",
        qqwing.c_str(), qqwingCount);
    std::printf(
        "| level (qqwing) | p50 | p99 | max | mean | qq p50 | qq p99 | qq max | qq mean | x p50 "
        "| x p99 | x mean |\n|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (std::size_t i = 0; i < kRuns.size(); ++i) {
        const LevelRun& run = kRuns[i];
        std::optional<QqwingRun> theirs = RunQqwing(qqwing, run.qqwingDifficulty, qqwingCount);
        if (!theirs) {
            Fail(std::string("qqwing did not run at ") + run.qqwingDifficulty);
        }
        const Latency& our = ours[i].all;
        std::printf(
            "| %s (%s) | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f | %.1f | %.1f | "
            "%.1f |\n",
            run.name, run.qqwingDifficulty, our.p50 / 1000, our.p99 / 1000, our.max / 1000,
            our.mean / 1000, theirs->kept.p50 / 1000, theirs->kept.p99 / 1000,
            theirs->kept.max / 1000, theirs->meanWithRetries / 1000, theirs->kept.p50 / our.p50,
            theirs->kept.p99 / our.p99, theirs->meanWithRetries / our.mean);
    }
    return 0;
}
