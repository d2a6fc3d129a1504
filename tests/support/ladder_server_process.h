#pragma once

// The real ladder server, quillmark-ladderd, run as a child process for tests: each instance
// has its own temporary folder with its own database (or the PostgreSQL database it is
// given) and a free loopback port, so tests can run side by side. Plain C++: usable from
// GoogleTest and Qt tests alike.
//
//   testing_support::LadderServerProcess server;           // started, empty database
//   server.AddUser("alice", "secret");                     // enabled, no e-mail
//   setenv(ladder::kServerUrlVariable, server.Url().c_str(), 1);
//   ... play; then make the open game an hour old:
//   server.MoveOpenGamesStartBack("alice", 3725);           // "01 : 02 : 05" at finish
//
// Failures (the server does not start, an admin command is refused) throw
// std::runtime_error with the server's own words.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testing_support {

class LadderServerProcess {
public:
    // What an admin command did.
    struct CommandResult {
        int exitCode = -1;  // the program's exit status; -1 when a signal ended it
        std::string out;    // its standard output
        std::string err;    // its standard error
    };

    // Makes a fresh temporary folder and, when start is set, starts the server on it.
    // database, when given, is what the server and its commands use instead of the folder's
    // SQLite file: a postgresql:// URL, so that several servers share one database.
    explicit LadderServerProcess(bool start = true, std::string database = "");
    // Stops the server (SIGTERM, then waits) and removes the folder with the database.
    ~LadderServerProcess();
    LadderServerProcess(const LadderServerProcess&) = delete;
    LadderServerProcess& operator=(const LadderServerProcess&) = delete;

    // Starts `serve --port P --database <Database()> <ServeOptions>`, where P is the last port
    // served on (0, a free one, the first time), and waits until it takes requests.
    void Start();
    // For the next Start: more words for serve, such as {"--log-file", path}.
    void SetServeOptions(std::vector<std::string> options) { serveOptions_ = std::move(options); }
    // For the next Start: variables set in the server's environment, over the test's own.
    // The service manager's (NOTIFY_SOCKET, WATCHDOG_USEC, WATCHDOG_PID) reach the server only
    // from here, never from the test's environment.
    void SetEnvironment(std::vector<std::pair<std::string, std::string>> variables) {
        environment_ = std::move(variables);
    }
    // Stops the server with SIGTERM and waits for it to end; its exit status is kept for
    // LastExitCode. Nothing when it is not running.
    void Stop();
    // Stop then Start: the database, its accounts and games stay. The port stays too unless
    // another program took it meanwhile, in which case Url() changes.
    void Restart();
    bool IsRunning() const { return pid_ > 0; }
    // The running server's process id.
    pid_t Pid() const { return pid_; }
    // The exit status of the last stopped server: 0 after a graceful stop, -1 if a signal
    // ended it.
    int LastExitCode() const { return lastExitCode_; }

    // "http://127.0.0.1:PORT" of the running server.
    std::string Url() const;
    int Port() const { return port_; }
    std::filesystem::path DatabasePath() const { return folder_ / "ladder.db"; }
    // What --database names: DatabasePath(), or the database given at construction.
    std::string Database() const { return database_.empty() ? DatabasePath().string() : database_; }
    std::filesystem::path Folder() const { return folder_; }
    // What the server wrote to standard error so far (its log).
    std::string ServerLog() const;

    // Runs `quillmark-ladderd <args...> --database <Database()>` with input on its
    // standard input, and waits for it.
    CommandResult RunCommand(const std::vector<std::string>& args,
                             const std::string& input = "") const;

    // The admin commands; each throws std::runtime_error when the program refuses.
    void AddUser(const std::string& name, const std::string& password, bool enabled = true,
                 const std::string& email = "") const;
    void EnableUser(const std::string& name) const;
    void DisableUser(const std::string& name) const;
    void SetPassword(const std::string& name, const std::string& password) const;
    void SetVersion(const std::string& version, const std::string& downloadUrl) const;

    // Makes an open game seem started seconds earlier, by lowering games.started_at_ms (the
    // start on the server's wall clock, in milliseconds since the Unix epoch) by
    // seconds * 1000 straight in the SQLite file (a server on its own SQLite file only);
    // the server measures the official time
    // from that column at finish. Returns the number of games changed (0 or 1).
    int MoveGameStartBack(std::string_view gameId, std::int64_t seconds) const;
    // The same for every open game of the user of that name, for tests that never see the
    // game id (the engine keeps it). Returns the number of games changed.
    int MoveOpenGamesStartBack(std::string_view userName, std::int64_t seconds) const;

private:
    void RunOrThrow(const std::vector<std::string>& args, const std::string& input = "") const;

    std::filesystem::path folder_;
    std::string database_;
    std::vector<std::string> serveOptions_;
    std::vector<std::pair<std::string, std::string>> environment_;
    pid_t pid_ = -1;
    int port_ = 0;
    int lastExitCode_ = -1;
};

}  // namespace testing_support
