// How closely and how fast the rater rates, against Sudoku Explainer's own ratings.
//
// Run (Release build, from the repository root):
//
//     cmake --preset release -DQUILLMARK_BUILD_GUI=OFF
//     cmake --build build/release --target rating_bench
//     build/release/bench/rating_bench [--limit N] [--threads N] [--hardest [--hardest-count N]]
//         [puzzle dir]
//
// Reads sudoku_exchange_se_rated_sample.txt from the puzzle folder (QUILLMARK_PUZZLE_DIR unless
// a folder is given), whose second field is the rating Sudoku Explainer gave. For each band of
// that rating (2.5-3.9, 4.0-5.9, 6.0-7.4, 7.5-9.3) it reports the share of puzzles we rate
// exactly as it did, within 0.2 and within 0.5, those we leave unrated, and the p50 and p99
// time per puzzle on one core; then Spearman's rank correlation over every puzzle we rate, and
// the wall time of the whole sample rated again on --threads threads (2 by default), whose
// ratings must be the single thread's (a difference stops the run with exit status 1).
// --limit N takes only the first N puzzles of each band, for a quicker run.
//
// --hardest also rates forum_hardest_1106.txt on one core, the first --hardest-count puzzles
// (50 by default, 0 for all): p50, p99 and largest time, and how many got each rating.

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "sudoku/grid.h"
#include "sudoku/rating/rater.h"

namespace {

using Clock = std::chrono::steady_clock;
using sudoku::rating::DifficultyText;

[[noreturn]] void Fail(const std::string& message) {
    std::cerr << "rating_bench: " << message << "\n";
    std::exit(1);
}

struct Band {
    const char* name;
    int least;  // tenths, both ends included
    int most;
};
constexpr std::array<Band, 4> kBands = {{
    {"2.5-3.9", 25, 39},
    {"4.0-5.9", 40, 59},
    {"6.0-7.4", 60, 74},
    {"7.5-9.3", 75, 93},
}};

struct RatedPuzzle {
    sudoku::Grid puzzle;
    int explainer = 0;  // Sudoku Explainer's rating in tenths; 0 where the file has none
    std::optional<int> ours;
    double millis = 0;
};

std::vector<RatedPuzzle> ReadPuzzles(const std::filesystem::path& path, bool rated) {
    std::ifstream in(path);
    if (!in) {
        Fail("cannot read " + path.string());
    }
    std::vector<RatedPuzzle> puzzles;
    std::string line;
    while (std::getline(in, line)) {
        auto puzzle = sudoku::ParseLine(line);
        if (!puzzle) {
            Fail(path.filename().string() + ": no puzzle in " + line);
        }
        RatedPuzzle entry{*puzzle, 0, std::nullopt, 0};
        if (rated) {
            if (line.size() < 83) {
                Fail(path.filename().string() + ": no rating in " + line);
            }
            entry.explainer = static_cast<int>(std::lround(std::atof(line.c_str() + 82) * 10));
        }
        puzzles.push_back(entry);
    }
    return puzzles;
}

std::optional<int> Rate(const sudoku::Grid& puzzle) {
    auto rated = sudoku::rating::RatePuzzle(puzzle);
    if (const auto* rating = std::get_if<sudoku::rating::Rating>(&rated)) {
        return rating->difficulty;
    }
    return std::nullopt;
}

void RateTimed(RatedPuzzle& entry) {
    auto start = Clock::now();
    entry.ours = Rate(entry.puzzle);
    entry.millis = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Quantile(std::vector<double> values, double q) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(q * values.size()))];
}

// Ranks from 1, ties sharing the mean of their ranks.
std::vector<double> Ranks(const std::vector<double>& values) {
    std::vector<std::size_t> order(values.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
    std::vector<double> ranks(values.size());
    for (std::size_t i = 0; i < order.size();) {
        std::size_t j = i;
        while (j < order.size() && values[order[j]] == values[order[i]]) {
            ++j;
        }
        double rank = (static_cast<double>(i + j) + 1) / 2;
        for (std::size_t k = i; k < j; ++k) {
            ranks[order[k]] = rank;
        }
        i = j;
    }
    return ranks;
}

// Spearman's rank correlation: Pearson's correlation of the ranks.
double Spearman(const std::vector<double>& x, const std::vector<double>& y) {
    std::vector<double> rx = Ranks(x), ry = Ranks(y);
    const double n = static_cast<double>(x.size());
    double mx = 0, my = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        mx += rx[i] / n;
        my += ry[i] / n;
    }
    double sxy = 0, sxx = 0, syy = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sxy += (rx[i] - mx) * (ry[i] - my);
        sxx += (rx[i] - mx) * (rx[i] - mx);
        syy += (ry[i] - my) * (ry[i] - my);
    }
    return sxx > 0 && syy > 0 ? sxy / std::sqrt(sxx * syy) : 0;
}

double Percent(int part, int whole) {
    return whole > 0 ? 100.0 * part / whole : 0;
}

void ReportSample(std::vector<RatedPuzzle>& puzzles, int threads) {
    for (RatedPuzzle& entry : puzzles) {
        RateTimed(entry);
    }

    std::printf(
        "\n| SE band | puzzles | exact | within 0.2 | within 0.5 | unrated | p50 ms | p99 ms |\n"
        "|---|---:|---:|---:|---:|---:|---:|---:|\n");
    std::vector<double> ours, theirs;
    for (const Band& band : kBands) {
        int count = 0, exact = 0, near = 0, close = 0, unrated = 0;
        std::vector<double> millis;
        for (const RatedPuzzle& entry : puzzles) {
            if (entry.explainer < band.least || entry.explainer > band.most) {
                continue;
            }
            ++count;
            millis.push_back(entry.millis);
            if (!entry.ours) {
                ++unrated;
                continue;
            }
            int off = std::abs(*entry.ours - entry.explainer);
            exact += off == 0;
            near += off <= 2;
            close += off <= 5;
        }
        std::printf("| %s | %d | %.1f%% | %.1f%% | %.1f%% | %d | %.3f | %.3f |\n", band.name, count,
                    Percent(exact, count), Percent(near, count), Percent(close, count), unrated,
                    Quantile(millis, 0.5), Quantile(millis, 0.99));
    }
    int unrated = 0;
    for (const RatedPuzzle& entry : puzzles) {
        if (entry.ours) {
            ours.push_back(*entry.ours);
            theirs.push_back(entry.explainer);
        } else {
            ++unrated;
        }
    }
    std::printf(
        "\nSpearman's rank correlation with SE over %zu puzzles rated (%d unrated left "
        "out): %.4f\n",
        ours.size(), unrated, Spearman(ours, theirs));

    // The whole sample again on several threads, each taking the next puzzle.
    std::vector<std::optional<int>> again(puzzles.size());
    std::atomic<std::size_t> next{0};
    auto start = Clock::now();
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&] {
            for (std::size_t i = next++; i < puzzles.size(); i = next++) {
                again[i] = Rate(puzzles[i].puzzle);
            }
        });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    for (std::size_t i = 0; i < puzzles.size(); ++i) {
        if (again[i] != puzzles[i].ours) {
            Fail("rated differently on " + std::to_string(threads) +
                 " threads: " + sudoku::FormatLine(puzzles[i].puzzle));
        }
    }
    double single = 0;
    for (const RatedPuzzle& entry : puzzles) {
        single += entry.millis / 1000;
    }
    std::printf(
        "\n| puzzles | threads | wall s | one core s | speed-up |\n"
        "|---:|---:|---:|---:|---:|\n| %zu | %d | %.2f | %.2f | %.2f |\n",
        puzzles.size(), threads, seconds, single, seconds > 0 ? single / seconds : 0);
}

void ReportHardest(std::vector<RatedPuzzle>& puzzles) {
    std::vector<double> millis;
    std::map<int, int> ratings;  // -1 for unrated
    for (RatedPuzzle& entry : puzzles) {
        RateTimed(entry);
        millis.push_back(entry.millis);
        ++ratings[entry.ours.value_or(-1)];
    }
    std::printf(
        "\nforum_hardest_1106.txt, %zu puzzles, one core:\n\n"
        "| p50 ms | p99 ms | max ms |\n|---:|---:|---:|\n| %.1f | %.1f | %.1f |\n",
        puzzles.size(), Quantile(millis, 0.5), Quantile(millis, 0.99), Quantile(millis, 1.0));
    std::printf("\n| rating | puzzles |\n|---:|---:|\n");
    for (const auto& [rating, count] : ratings) {
        std::printf("| %s | %d |\n", rating < 0 ? "unrated" : DifficultyText(rating).c_str(),
                    count);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path dir = QUILLMARK_PUZZLE_DIR;
    int limit = 0;
    int threads = 2;
    bool hardest = false;
    int hardestCount = 50;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--limit" && i + 1 < argc) {
            limit = std::max(0, std::atoi(argv[++i]));
        } else if (arg == "--threads" && i + 1 < argc) {
            threads = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--hardest") {
            hardest = true;
        } else if (arg == "--hardest-count" && i + 1 < argc) {
            hardestCount = std::max(0, std::atoi(argv[++i]));
        } else if (!arg.starts_with("-")) {
            dir = arg;
        } else {
            Fail(
                "usage: rating_bench [--limit N] [--threads N] [--hardest [--hardest-count N]] "
                "[puzzle dir]");
        }
    }

    std::vector<RatedPuzzle> sample;
    std::array<int, kBands.size()> taken{};
    for (RatedPuzzle& entry : ReadPuzzles(dir / "sudoku_exchange_se_rated_sample.txt", true)) {
        for (std::size_t b = 0; b < kBands.size(); ++b) {
            if (entry.explainer >= kBands[b].least && entry.explainer <= kBands[b].most &&
                (limit == 0 || taken[b] < limit)) {
                ++taken[b];
                sample.push_back(entry);
            }
        }
    }
    std::printf("Rating %zu puzzles of sudoku_exchange_se_rated_sample.txt%s\n", sample.size(),
                limit > 0 ? (" (at most " + std::to_string(limit) + " per band)").c_str() : "");
    ReportSample(sample, threads);

    if (hardest) {
        std::vector<RatedPuzzle> forum = ReadPuzzles(dir / "forum_hardest_1106.txt", false);
        if (hardestCount > 0 && forum.size() > static_cast<std::size_t>(hardestCount)) {
            forum.resize(static_cast<std::size_t>(hardestCount));
        }
        ReportHardest(forum);
    }
    return 0;
}
