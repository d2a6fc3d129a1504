#include "tests/support/ladder_server_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <utility>

extern char** environ;

#include "tests/support/child_exit.h"

namespace testing_support {

namespace {

using namespace std::chrono_literals;

constexpr auto kStartTimeout = 60s;  // generous: sanitizer builds start slowly
constexpr auto kStopTimeout = 30s;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// posix_spawn's file actions, released however the spawn ends.
class FileActions {
public:
    FileActions() { posix_spawn_file_actions_init(&actions_); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;

    void Open(int fd, const std::filesystem::path& path, int flags) {
        posix_spawn_file_actions_addopen(&actions_, fd, path.c_str(), flags, 0600);
    }
    const posix_spawn_file_actions_t* Get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

using Variables = std::vector<std::pair<std::string, std::string>>;

// The test's environment without the service manager's variables, with variables over it.
std::vector<std::string> ServerEnvironment(const Variables& variables) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text = *entry;
        const std::string_view name = text.substr(0, text.find('='));
        bool replaced =
            name == "NOTIFY_SOCKET" || name == "WATCHDOG_USEC" || name == "WATCHDOG_PID";
        for (const auto& [variable, value] : variables) {
            replaced = replaced || name == variable;
        }
        if (!replaced) {
            entries.emplace_back(text);
        }
    }
    for (const auto& [variable, value] : variables) {
        entries.push_back(variable + "=" + value);
    }
    return entries;
}

// Starts the server binary with args; standard streams go to and come from the files named.
pid_t Spawn(const std::vector<std::string>& args, const std::filesystem::path& in,
            const std::filesystem::path& out, int outFlags, const std::filesystem::path& err,
            const Variables& variables = {}) {
    FileActions actions;
    actions.Open(STDIN_FILENO, in, O_RDONLY);
    actions.Open(STDOUT_FILENO, out, O_WRONLY | O_CREAT | outFlags);
    actions.Open(STDERR_FILENO, err, O_WRONLY | O_CREAT | O_APPEND);

    std::vector<std::string> words{QUILLMARK_LADDERD};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> environment = ServerEnvironment(variables);
    std::vector<char*> envp;
    for (auto& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    pid_t pid = -1;
    const int error =
        posix_spawn(&pid, QUILLMARK_LADDERD, actions.Get(), nullptr, argv.data(), envp.data());
    if (error != 0) {
        throw std::runtime_error(std::string("cannot start " QUILLMARK_LADDERD ": ") +
                                 std::strerror(error));
    }
    return pid;
}

// An open SQLite file, closed however the function using it ends.
struct DatabaseCloser {
    void operator()(sqlite3* database) const { sqlite3_close(database); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;

int RunUpdate(const std::filesystem::path& path, const char* sql, std::string_view key,
              std::int64_t seconds) {
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    Database database(raw);
    if (opened != SQLITE_OK) {
        throw std::runtime_error("cannot open " + path.string());
    }
    sqlite3_busy_timeout(database.get(), 10000);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(database.get(), sql, -1, &statement, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sqlite3_errmsg(database.get()));
    }
    sqlite3_bind_int64(statement, 1, seconds * 1000);
    sqlite3_bind_text(statement, 2, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    const int stepped = sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (stepped != SQLITE_DONE) {
        throw std::runtime_error(sqlite3_errmsg(database.get()));
    }
    return sqlite3_changes(database.get());
}

}  // namespace

LadderServerProcess::LadderServerProcess(bool start, std::string database)
    : database_(std::move(database)) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillmark-ladder-XXXXXX");
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    folder_ = pattern;
    if (start) {
        try {
            Start();
        } catch (...) {
            std::error_code ignored;
            std::filesystem::remove_all(folder_, ignored);
            throw;
        }
    }
}

LadderServerProcess::~LadderServerProcess() {
    try {
        Stop();
    } catch (...) {
        // A destructor cannot report; the folder goes all the same.
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void LadderServerProcess::Start() {
    if (IsRunning()) {
        return;
    }
    const auto out = folder_ / "server.out";
    const auto log = folder_ / "server.log";
    // An empty configuration file of its own, so that a test server never takes the settings
    // of a server installed on the machine.
    const auto config = folder_ / "ladderd.conf";
    WriteFile(config, "");
    for (const int port : {port_, 0}) {
        std::vector<std::string> args{"serve",    "--port",   std::to_string(port), "--database",
                                      Database(), "--config", config.string()};
        args.insert(args.end(), serveOptions_.begin(), serveOptions_.end());
        pid_ = Spawn(args, "/dev/null", out, O_TRUNC, log, environment_);
        const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
        for (;;) {
            const std::string text = ReadFile(out);
            const auto lineEnd = text.find('\n');
            if (lineEnd != std::string::npos) {
                const auto colon = text.rfind(':', lineEnd);
                if (text.rfind("listening on ", 0) != 0 || colon == std::string::npos) {
                    Stop();
                    throw std::runtime_error("the ladder server said: " + text);
                }
                port_ = std::stoi(text.substr(colon + 1, lineEnd - colon - 1));
                return;
            }
            if (const auto ended = WaitFor(pid_, 0s)) {
                pid_ = -1;
                lastExitCode_ = *ended;
                break;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                Stop();
                throw std::runtime_error("the ladder server did not start in time: " + ServerLog());
            }
            std::this_thread::sleep_for(5ms);
        }
        if (port == 0) {
            break;
        }
    }
    throw std::runtime_error("the ladder server did not start: " + ServerLog());
}

void LadderServerProcess::Stop() {
    if (!IsRunning()) {
        return;
    }
    kill(pid_, SIGTERM);
    auto ended = WaitFor(pid_, kStopTimeout);
    if (!ended) {
        kill(pid_, SIGKILL);
        ended = WaitFor(pid_, kStopTimeout);
    }
    lastExitCode_ = ended.value_or(-1);
    pid_ = -1;
}

void LadderServerProcess::Restart() {
    Stop();
    Start();
}

std::string LadderServerProcess::Url() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::string LadderServerProcess::ServerLog() const {
    return ReadFile(folder_ / "server.log");
}

LadderServerProcess::CommandResult LadderServerProcess::RunCommand(
    const std::vector<std::string>& args, const std::string& input) const {
    static std::atomic<int> counter = 0;
    const std::string stem = "command-" + std::to_string(++counter);
    const auto in = folder_ / (stem + ".in");
    const auto out = folder_ / (stem + ".out");
    const auto err = folder_ / (stem + ".err");
    WriteFile(in, input);
    std::vector<std::string> withDatabase = args;
    withDatabase.insert(withDatabase.end(), {"--database", Database()});
    const pid_t pid = Spawn(withDatabase, in, out, O_TRUNC, err);
    CommandResult result;
    result.exitCode = WaitFor(pid, kStopTimeout * 4).value_or(-1);
    result.out = ReadFile(out);
    result.err = ReadFile(err);
    std::error_code ignored;
    for (const auto& file : {in, out, err}) {
        std::filesystem::remove(file, ignored);
    }
    return result;
}

void LadderServerProcess::RunOrThrow(const std::vector<std::string>& args,
                                     const std::string& input) const {
    const CommandResult result = RunCommand(args, input);
    if (result.exitCode != 0) {
        std::string command;
        for (const auto& word : args) {
            command += " " + word;
        }
        throw std::runtime_error("quillmark-ladderd" + command + " failed: " + result.err);
    }
}

void LadderServerProcess::AddUser(const std::string& name, const std::string& password,
                                  bool enabled, const std::string& email) const {
    std::vector<std::string> args{"user", "add", name};
    if (!email.empty()) {
        args.insert(args.end(), {"--email", email});
    }
    if (enabled) {
        args.push_back("--enabled");
    }
    RunOrThrow(args, password + "\n");
}

void LadderServerProcess::EnableUser(const std::string& name) const {
    RunOrThrow({"user", "enable", name});
}

void LadderServerProcess::DisableUser(const std::string& name) const {
    RunOrThrow({"user", "disable", name});
}

void LadderServerProcess::SetPassword(const std::string& name, const std::string& password) const {
    RunOrThrow({"user", "passwd", name}, password + "\n");
}

void LadderServerProcess::SetVersion(const std::string& version,
                                     const std::string& downloadUrl) const {
    RunOrThrow({"version", "set", version, downloadUrl});
}

int LadderServerProcess::MoveGameStartBack(std::string_view gameId, std::int64_t seconds) const {
    return RunUpdate(DatabasePath(),
                     "UPDATE games SET started_at_ms = started_at_ms - ?1 "
                     "WHERE id = ?2 AND state = 'open'",
                     gameId, seconds);
}

int LadderServerProcess::MoveOpenGamesStartBack(std::string_view userName,
                                                std::int64_t seconds) const {
    return RunUpdate(DatabasePath(),
                     "UPDATE games SET started_at_ms = started_at_ms - ?1 "
                     "WHERE state = 'open' AND user_id = (SELECT id FROM users WHERE name = ?2)",
                     userName, seconds);
}

}  // namespace testing_support
