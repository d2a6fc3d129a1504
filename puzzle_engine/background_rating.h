#pragma once

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace puzzle_engine {

// Rates puzzles on a thread of its own, one at a time, so that a caller asking again and
// again is never held up by a puzzle that takes long (the hardest ones can take minutes).
// Only the puzzle asked for last is worked on: asking for another abandons a rating under
// way. The last few results are kept.
class BackgroundRating {
public:
    BackgroundRating();
    // Stops the rating under way and waits for its thread, which ends within a few seconds
    // at worst, so that nothing of the engine runs once it is gone.
    ~BackgroundRating();

    BackgroundRating(const BackgroundRating&) = delete;
    BackgroundRating& operator=(const BackgroundRating&) = delete;

    // RatingText of puzzle (81 characters with exactly one solution, checked by the caller)
    // once rated; until then nothing, and the puzzle becomes the one to rate.
    std::optional<std::string> Result(const std::string& puzzle);

private:
    void Work();

    std::mutex mutex_;
    std::condition_variable wake_;
    // The puzzle to rate; empty when there is nothing to do.
    std::string wanted_;
    // The puzzle being rated now, and its stop signal.
    std::string rating_;
    std::atomic<bool> abandon_{false};
    bool closing_ = false;
    std::map<std::string, std::string> results_;
    // Last, so that it starts once everything it uses is there.
    std::thread worker_;
};

}  // namespace puzzle_engine
