#pragma once

// A fixed set of threads running tasks from a bounded queue. A task that finds the queue full
// is refused at once rather than waiting: the caller answers "busy" while it still can.
//
// Tasks may carry a key (the client's address, say): tasks of different keys are taken in
// turn, one of each key at a time, so a key with many tasks waiting does not make the others
// wait behind all of them; and no key may hold more than its share of the queue.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <limits>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace ladder::http {

class TaskPool {
public:
    // threads (at least 1) run tasks; at most queueCapacity wait beside the running ones, at
    // most perKeyCapacity of them with one key.
    TaskPool(int threads, std::size_t queueCapacity,
             std::size_t perKeyCapacity = std::numeric_limits<std::size_t>::max());
    // Runs every task already taken, then joins the threads.
    ~TaskPool();
    TaskPool(const TaskPool&) = delete;
    TaskPool& operator=(const TaskPool&) = delete;

    // False, with the task dropped, when the queue, or key's share of it, is full. A task
    // must not throw.
    bool TrySubmit(std::function<void()> task, const std::string& key = {});

    // Tasks queued and not yet running: the pool's backlog, for the operators' metrics.
    std::size_t Waiting() const;

private:
    void Run();

    std::size_t capacity_;
    std::size_t perKeyCapacity_;
    mutable std::mutex mutex_;
    std::condition_variable available_;
    std::unordered_map<std::string, std::deque<std::function<void()>>> queues_;
    std::deque<std::string> turns_;  // the keys with tasks waiting, in the order they are served
    std::size_t waiting_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace ladder::http
