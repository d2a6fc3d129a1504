#include "ladder_server/http/task_pool.h"

#include <algorithm>

namespace ladder::http {

TaskPool::TaskPool(int threads, std::size_t queueCapacity) : capacity_(queueCapacity) {
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

bool TaskPool::TrySubmit(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || queue_.size() >= capacity_) {
            return false;
        }
        queue_.push_back(std::move(task));
    }
    available_.notify_one();
    return true;
}

void TaskPool::Run() {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            available_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) {
                return;  // stopping, and nothing left to run
            }
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        task();
    }
}

}  // namespace ladder::http
