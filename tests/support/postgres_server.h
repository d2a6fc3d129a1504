#pragma once

// A real PostgreSQL server for tests, in a temporary folder of its own: a new cluster made
// there with initdb, listening only on a Unix socket in that folder (no TCP), trusting
// whoever reaches the socket, with fsync off since a test's data need not survive a crash of
// the machine. PostgreSQL refuses to run as root, so when the test runs as root the folder
// goes to "nobody" and the server runs as that user. Plain C++: usable from GoogleTest and
// Qt tests alike.
//
//   testing_support::PostgresServer& server = testing_support::SharedPostgresServer();
//   const std::string url = server.CreateDatabase("ladder_1");  // postgresql:///ladder_1?...
//   ... open a store on url; server.Restart() to cut every connection
//
// Failures (initdb or the server do not start, a statement is refused) throw
// std::runtime_error with PostgreSQL's own words. The server is started and stopped from
// one thread, which it does not outlive: it is told to stop when that thread ends.

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace testing_support {

class PostgresServer {
public:
    // Makes the folder and the cluster, and starts the server.
    PostgresServer();
    // Stops the server and removes the folder with the cluster.
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // Starts the server on the cluster and waits until it takes connections. Nothing when
    // it runs.
    void Start();
    // A fast shutdown: every connection is cut, open transactions roll back. Nothing when
    // it is not running.
    void Stop();
    void Restart();
    bool IsRunning() const { return pid_ > 0; }

    // A new, empty database of that name (letters, digits, '_'), and its URL.
    std::string CreateDatabase(const std::string& name) const;
    // postgresql:///DATABASE?host=FOLDER&user=ROLE: the URL a store or quillmark-ladderd
    // reads.
    std::string Url(const std::string& database) const;
    // Runs sql on database; the first field of the first row it yields, "" for none.
    std::string Query(const std::string& database, const std::string& sql) const;

    std::filesystem::path Folder() const { return folder_; }
    // What the server wrote to its log so far.
    std::string Log() const;

private:
    std::filesystem::path folder_;
    uid_t uid_ = 0;  // whom initdb and the server run as
    gid_t gid_ = 0;
    pid_t pid_ = -1;
};

// One server for the whole test program, started on first use and stopped at its exit, so
// a program's tests pay for one initdb.
PostgresServer& SharedPostgresServer();

}  // namespace testing_support
