#include "ladder_server/http/task_pool.h"

#include <algorithm>

namespace ladder::http {

TaskPool::TaskPool(int threads, std::size_t queueCapacity, std::size_t perKeyCapacity)
    : capacity_(queueCapacity), perKeyCapacity_(perKeyCapacity) {
    const int count = std::max(1, threads);
    threads_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        threads_.emplace_back([this] { Run(); });
    }
}

TaskPool::~TaskPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    available_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

bool TaskPool::TrySubmit(std::function<void()> task, const std::string& key) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || waiting_ >= capacity_) {
            return false;
        }
        auto& queue = queues_[key];
        if (queue.size() >= perKeyCapacity_) {
            return false;
        }
        if (queue.empty()) {
            turns_.push_back(key);
        }
        queue.push_back(std::move(task));
        ++waiting_;
    }
    available_.notify_one();
    return true;
}

void TaskPool::Run() {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            available_.wait(lock, [this] { return stopping_ || waiting_ > 0; });
            if (waiting_ == 0) {
                return;  // stopping, and nothing left to run
            }
            const std::string key = std::move(turns_.front());
            turns_.pop_front();
            auto queue = queues_.find(key);
            task = std::move(queue->second.front());
            queue->second.pop_front();
            --waiting_;
            if (queue->second.empty()) {
                queues_.erase(queue);
            } else {
                turns_.push_back(key);  // its next task waits for the other keys' turns
            }
        }
        task();
    }
}

std::size_t TaskPool::Waiting() const {
    std::lock_guard lock(mutex_);
    return waiting_;
}

}  // namespace ladder::http
