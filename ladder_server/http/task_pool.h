#pragma once

// A fixed set of threads running tasks from a bounded queue. A task that finds the queue full
// is refused at once rather than waiting: the caller answers "busy" while it still can.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace ladder::http {

class TaskPool {
public:
    // threads (at least 1) run tasks; at most queueCapacity wait beside the running ones.
    TaskPool(int threads, std::size_t queueCapacity);
    // Runs every task already taken, then joins the threads.
    ~TaskPool();
    TaskPool(const TaskPool&) = delete;
    TaskPool& operator=(const TaskPool&) = delete;

    // False, with the task dropped, when the queue is full. A task must not throw.
    bool TrySubmit(std::function<void()> task);

    int Threads() const { return static_cast<int>(threads_.size()); }

private:
    void Run();

    std::size_t capacity_;
    std::mutex mutex_;
    std::condition_variable available_;
    std::deque<std::function<void()>> queue_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace ladder::http
