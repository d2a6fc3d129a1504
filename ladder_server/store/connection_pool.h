#pragma once

// A small pool of database connections, one template for both stores. Each call borrows a
// connection for as long as its lease lives and gives it back; a connection its borrower
// distrusts is closed instead, and the next borrower connects anew. Callers beyond the bound
// wait for a connection.

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace ladder {

// How many connections a pool holds: made (idle or lent), lent, and its bound.
struct PoolUse {
    int open = 0;
    int inUse = 0;
    int max = 0;
};

template <class Connection>
class ConnectionPool {
public:
    // Makes a new connection, ready for use, or throws.
    using Connect = std::function<std::unique_ptr<Connection>()>;
    // Whether an idle connection may still be used (the database server may have closed it
    // meanwhile); null: always.
    using Alive = std::function<bool(Connection&)>;

    // maxConnections is at least 1.
    ConnectionPool(int maxConnections, Connect connect, Alive alive = {})
        : maxConnections_(std::max(1, maxConnections)),
          connect_(std::move(connect)),
          alive_(std::move(alive)) {}
    ConnectionPool(const ConnectionPool&) = delete;
    ConnectionPool& operator=(const ConnectionPool&) = delete;

    class Lease {
    public:
        // Waits for a connection, connecting anew when no idle one is alive; throws what the
        // pool's Connect throws, with the pool as it was.
        explicit Lease(ConnectionPool& pool) : pool_(pool) {
            std::unique_lock lock(pool_.mutex_);
            pool_.returned_.wait(lock, [this] {
                return !pool_.idle_.empty() || pool_.open_ < pool_.maxConnections_;
            });
            while (!pool_.idle_.empty()) {
                auto candidate = std::move(pool_.idle_.back());
                pool_.idle_.pop_back();
                if (!pool_.alive_ || pool_.alive_(*candidate)) {
                    connection_ = std::move(candidate);
                    ++pool_.lent_;
                    return;
                }
                --pool_.open_;  // closed as candidate goes
            }
            ++pool_.open_;
            ++pool_.lent_;
            lock.unlock();
            try {
                connection_ = pool_.connect_();
            } catch (...) {
                lock.lock();
                --pool_.open_;
                --pool_.lent_;
                pool_.returned_.notify_one();
                throw;
            }
        }
        // Gives the connection back, or closes it after Discard.
        ~Lease() {
            std::unique_ptr<Connection> closing;
            {
                std::lock_guard lock(pool_.mutex_);
                --pool_.lent_;
                if (discard_) {
                    closing = std::move(connection_);
                    --pool_.open_;
                } else {
                    pool_.idle_.push_back(std::move(connection_));
                }
            }
            pool_.returned_.notify_one();
        }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;

        Connection& operator*() const { return *connection_; }
        Connection* operator->() const { return connection_.get(); }
        // The connection is not to be trusted again: it is closed rather than given back.
        void Discard() noexcept { discard_ = true; }

    private:
        ConnectionPool& pool_;
        std::unique_ptr<Connection> connection_;
        bool discard_ = false;
    };

    // work(connection) on a borrowed connection, for a database whose errors can leave a
    // connection in an unknown state (a network client): what work throws passes on, and the
    // connection is closed. A store whose errors leave the connection as it was holds a Lease
    // instead, which gives it back.
    template <class Work>
    auto Run(Work&& work) {
        Lease lease(*this);
        try {
            return std::forward<Work>(work)(*lease);
        } catch (...) {
            lease.Discard();
            throw;
        }
    }

    PoolUse Use() const {
        std::lock_guard lock(mutex_);
        return PoolUse{open_, lent_, maxConnections_};
    }

private:
    const int maxConnections_;
    const Connect connect_;
    const Alive alive_;
    mutable std::mutex mutex_;
    std::condition_variable returned_;
    std::vector<std::unique_ptr<Connection>> idle_;
    int open_ = 0;  // connections made, idle or lent
    int lent_ = 0;
};

}  // namespace ladder
