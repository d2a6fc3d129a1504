#include "puzzle_engine/background_rating.h"

#include "puzzle_engine/step_report.h"
#include "sudoku/rating/rater.h"

namespace puzzle_engine {

namespace {

// Results kept; a player rarely goes back further than to the last few puzzles.
constexpr std::size_t kKeptResults = 16;

}  // namespace

BackgroundRating::BackgroundRating() : worker_([this] { Work(); }) {}

BackgroundRating::~BackgroundRating() {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
        abandon_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

std::optional<std::string> BackgroundRating::Result(const std::string& puzzle) {
    const std::lock_guard lock(mutex_);
    if (auto found = results_.find(puzzle); found != results_.end()) {
        return found->second;
    }
    if (wanted_ != puzzle) {
        wanted_ = puzzle;
        // The player has moved on: the puzzle under way, if any, is no longer shown.
        abandon_ = !rating_.empty() && rating_ != puzzle;
        wake_.notify_one();
    }
    return std::nullopt;
}

void BackgroundRating::Work() {
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(
            lock, [this] { return closing_ || (!wanted_.empty() && !results_.contains(wanted_)); });
        if (closing_) {
            return;
        }
        rating_ = wanted_;
        abandon_ = false;
        const std::string puzzle = rating_;
        lock.unlock();
        sudoku::rating::RatingLimits limits;
        limits.stop = &abandon_;
        const auto rated = sudoku::rating::RatePuzzle(*sudoku::ParseLine(puzzle), limits);
        lock.lock();
        rating_.clear();
        if (std::holds_alternative<sudoku::rating::Unrated>(rated) &&
            std::get<sudoku::rating::Unrated>(rated) == sudoku::rating::Unrated::Stopped) {
            continue;
        }
        if (results_.size() >= kKeptResults) {
            results_.clear();
        }
        results_.emplace(puzzle, RatingText(rated));
    }
}

}  // namespace puzzle_engine
