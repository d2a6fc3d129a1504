#pragma once

// A small pool of libpqxx connections to one PostgreSQL database. Each call borrows a
// connection and gives it back; a connection that failed a call, or that the server closed
// while it sat idle (a restart of the database), is closed instead, and the next call
// connects anew. While the database is down every call throws; once it is back the pool
// heals by itself.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <pqxx/connection>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ladder::postgres {

// True for the URLs libpq reads that name a PostgreSQL database: postgresql:// and
// postgres://.
bool IsUrl(std::string_view text);

// url with what the ladder needs of every connection: UTF-8 texts, and a connect timeout
// and an application name unless the URL sets its own.
std::string WithLadderDefaults(std::string url);

// The URL with its password, if it holds one, replaced by "***": for logs and messages.
std::string Redacted(std::string_view url);

// False for a text PostgreSQL cannot hold as it is: one with a NUL character, which libpq
// would cut short there.
bool Storable(std::string_view text);

class Pool {
public:
    // Runs on every new connection before its first use; prepares statements, say.
    using Setup = std::function<void(pqxx::connection&)>;

    // Connects once, throwing pqxx::broken_connection when the database cannot be reached.
    // maxConnections (at least 1) bounds the pool; callers beyond it wait for a connection.
    Pool(std::string url, int maxConnections, Setup setup);
    ~Pool();
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    // A connection borrowed for as long as the lease lives.
    class Lease {
    public:
        // Waits for a connection of the pool, connecting anew when no idle one is alive;
        // throws pqxx::broken_connection when it cannot connect.
        explicit Lease(Pool& pool);
        // Gives the connection back, or closes it after Discard.
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;

        pqxx::connection& operator*() const { return *connection_; }
        pqxx::connection* operator->() const { return connection_.get(); }
        // The connection is not to be trusted again: it is closed rather than given back.
        void Discard() noexcept { discard_ = true; }

    private:
        Pool& pool_;
        std::unique_ptr<pqxx::connection> connection_;
        bool discard_ = false;
    };

    // work(connection) on a borrowed connection; whatever it throws, the connection goes.
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

private:
    std::unique_ptr<pqxx::connection> Connect() const;

    std::string url_;
    int maxConnections_;
    Setup setup_;
    std::mutex mutex_;
    std::condition_variable returned_;
    std::vector<std::unique_ptr<pqxx::connection>> idle_;
    int open_ = 0;  // connections made, idle or lent
};

}  // namespace ladder::postgres
