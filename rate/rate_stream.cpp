#include "rate/rate_stream.h"

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "rate/rate_line.h"

namespace rate {

namespace {

constexpr std::size_t kKeptCharacters = 82;

struct Slot {
    std::string line;  // until a worker takes it
    std::string result;
    bool done = false;
};

// The lines between reading and printing. Line n of the input (from 0) is lines_[n - first_];
// those before next_ are taken by workers, the others wait for one.
class Window {
public:
    Window(std::size_t capacity, int threads) : capacity_(capacity), threads_(threads) {}

    // Reader side: adds a line, waiting for room; starts a worker while fewer than threads_
    // run and lines wait.
    void Add(std::string line) {
        std::unique_lock lock(mutex_);
        room_.wait(lock, [&] { return lines_.size() < capacity_; });
        lines_.push_back(Slot{std::move(line), {}, false});
        if (static_cast<int>(workers_.size()) < threads_ &&
            next_ - first_ + idle_ < lines_.size()) {
            workers_.emplace_back([this] { Work(); });
        }
        work_.notify_one();
    }

    void End() {
        std::lock_guard lock(mutex_);
        ended_ = true;
        work_.notify_all();
        done_.notify_all();
    }

    // Writer side: writes each result in order until the end, then joins the workers.
    void WriteAll(std::ostream& out) {
        std::vector<std::string> ready;
        bool unflushed = false;
        std::unique_lock lock(mutex_);
        while (true) {
            bool frontDone = !lines_.empty() && lines_.front().done;
            if (!frontDone && !(ended_ && lines_.empty()) && unflushed) {
                lock.unlock();
                out.flush();
                unflushed = false;
                lock.lock();
                continue;
            }
            done_.wait(lock, [&] {
                return (!lines_.empty() && lines_.front().done) || (ended_ && lines_.empty());
            });
            if (lines_.empty()) {
                break;
            }
            while (!lines_.empty() && lines_.front().done) {
                ready.push_back(std::move(lines_.front().result));
                lines_.pop_front();
                ++first_;
            }
            room_.notify_all();
            lock.unlock();
            for (const std::string& text : ready) {
                out << text << '\n';
            }
            ready.clear();
            unflushed = true;
            lock.lock();
        }
        out.flush();
        std::vector<std::thread> workers = std::move(workers_);
        lock.unlock();
        for (std::thread& worker : workers) {
            worker.join();
        }
    }

private:
    void Work() {
        std::unique_lock lock(mutex_);
        while (true) {
            ++idle_;
            work_.wait(lock, [&] { return next_ < first_ + lines_.size() || ended_; });
            --idle_;
            if (next_ == first_ + lines_.size()) {
                return;
            }
            std::size_t number = next_++;
            std::string line = std::move(lines_[number - first_].line);
            lock.unlock();
            std::string result = RateLine(line);
            lock.lock();
            // Not printed yet, so still in the window.
            Slot& slot = lines_[number - first_];
            slot.result = std::move(result);
            slot.done = true;
            if (number == first_) {
                done_.notify_one();
            }
        }
    }

    const std::size_t capacity_;
    const int threads_;
    std::mutex mutex_;
    std::condition_variable room_, work_, done_;
    std::deque<Slot> lines_;
    std::size_t first_ = 0;
    std::size_t next_ = 0;
    std::size_t idle_ = 0;  // workers waiting for a line
    bool ended_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace

bool ReadLineStart(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    while (true) {
        int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            return !line.empty();
        }
        if (c == '\n') {
            return true;
        }
        if (line.size() < kKeptCharacters) {
            line.push_back(static_cast<char>(c));
        }
    }
}

void RateLines(const std::function<bool(std::string&)>& nextLine, std::ostream& out, int threads) {
    threads = std::max(1, threads);
    Window window(static_cast<std::size_t>(threads) * kLinesPerThread, threads);
    std::thread reader([&] {
        std::string line;
        while (nextLine(line)) {
            window.Add(std::move(line));
            line = std::string();
        }
        window.End();
    });
    window.WriteAll(out);
    reader.join();
}

}  // namespace rate
