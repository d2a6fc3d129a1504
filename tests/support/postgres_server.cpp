#include "tests/support/postgres_server.h"

#include <fcntl.h>
#include <grp.h>
#include <libpq-fe.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "tests/support/child_exit.h"

namespace testing_support {

namespace {

using namespace std::chrono_literals;

constexpr auto kStartTimeout = 60s;
constexpr auto kStopTimeout = 30s;
constexpr const char* kRole = "ladder";

std::string Binary(const char* name) {
    return std::string(QUILLMARK_POSTGRES_BIN) + "/" + name;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Who runs the server: this process's user, or "nobody" when that is root.
struct Account {
    uid_t uid;
    gid_t gid;
    bool switchTo;
};

Account ServerAccount() {
    if (geteuid() != 0) {
        return {geteuid(), getegid(), false};
    }
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr) {
        throw std::runtime_error(
            "running as root, and there is no user \"nobody\" to run "
            "PostgreSQL as");
    }
    return {nobody->pw_uid, nobody->pw_gid, true};
}

// Starts args[0] as account, standard output and error appended to log. The child is told
// deathSignal when the thread that started it ends, so a crashed test leaves no server.
pid_t Spawn(const Account& account, const std::vector<std::string>& args,
            const std::filesystem::path& log, int deathSignal) {
    std::vector<std::string> words = args;
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const std::string logPath = log.string();
    const pid_t parent = getpid();

    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("cannot fork");
    }
    if (pid > 0) {
        return pid;
    }
    // The child: only async-signal-safe calls from here to exec.
    const int out = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    const int in = open("/dev/null", O_RDONLY);
    if (out < 0 || in < 0 || dup2(in, STDIN_FILENO) < 0 || dup2(out, STDOUT_FILENO) < 0 ||
        dup2(out, STDERR_FILENO) < 0) {
        _exit(126);
    }
    if (account.switchTo &&
        (setgroups(0, nullptr) != 0 || setgid(account.gid) != 0 || setuid(account.uid) != 0)) {
        _exit(126);
    }
    // After the change of user, which clears it.
    if (prctl(PR_SET_PDEATHSIG, deathSignal) != 0 || getppid() != parent) {
        _exit(126);
    }
    execv(argv[0], argv.data());
    _exit(127);
}

struct ConnectionCloser {
    void operator()(PGconn* connection) const { PQfinish(connection); }
};
struct ResultClearer {
    void operator()(PGresult* result) const { PQclear(result); }
};

}  // namespace

PostgresServer::PostgresServer() {
    const Account account = ServerAccount();
    uid_ = account.uid;
    gid_ = account.gid;
    std::string pattern = (std::filesystem::temp_directory_path() / "quillmark-postgres-XXXXXX");
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    folder_ = pattern;
    try {
        if (account.switchTo && chown(folder_.c_str(), uid_, gid_) != 0) {
            throw std::runtime_error("cannot give " + folder_.string() + " to the server's user");
        }
        const auto log = folder_ / "initdb.log";
        const pid_t initdb = Spawn(account,
                                   {Binary("initdb"), "--pgdata", (folder_ / "data").string(),
                                    "--username", kRole, "--auth", "trust", "--no-locale",
                                    "--encoding", "UTF8", "--no-sync", "--no-instructions"},
                                   log, SIGKILL);
        const auto ended = WaitFor(initdb, kStartTimeout);
        if (ended != 0) {
            if (!ended) {
                kill(initdb, SIGKILL);
                WaitFor(initdb, kStopTimeout);
            }
            throw std::runtime_error("initdb failed: " + ReadFile(log));
        }
        Start();
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        throw;
    }
}

PostgresServer::~PostgresServer() {
    Stop();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void PostgresServer::Start() {
    if (IsRunning()) {
        return;
    }
    const Account account{uid_, gid_, geteuid() == 0};
    // SIGINT is PostgreSQL's fast shutdown.
    pid_ = Spawn(account,
                 {Binary("postgres"), "-D", (folder_ / "data").string(), "-k", folder_.string(),
                  "-c", "listen_addresses=", "-c", "fsync=off", "-c", "synchronous_commit=off",
                  "-c", "full_page_writes=off"},
                 folder_ / "postgres.log", SIGINT);
    const std::string url = Url("postgres");
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (PQping(url.c_str()) != PQPING_OK) {
        if (WaitFor(pid_, 0s) || std::chrono::steady_clock::now() >= deadline) {
            Stop();
            throw std::runtime_error("PostgreSQL did not start: " + Log());
        }
        std::this_thread::sleep_for(10ms);
    }
}

void PostgresServer::Stop() {
    if (!IsRunning()) {
        return;
    }
    kill(pid_, SIGINT);
    if (!WaitFor(pid_, kStopTimeout)) {
        kill(pid_, SIGKILL);
        WaitFor(pid_, kStopTimeout);
    }
    pid_ = -1;
}

void PostgresServer::Restart() {
    Stop();
    Start();
}

std::string PostgresServer::CreateDatabase(const std::string& name) const {
    const bool plain = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
    if (!plain) {
        throw std::invalid_argument("a test database is named in lower-case letters, digits and _");
    }
    Query("postgres", "CREATE DATABASE " + name);
    return Url(name);
}

std::string PostgresServer::Url(const std::string& database) const {
    return "postgresql:///" + database + "?host=" + folder_.string() + "&user=" + kRole;
}

std::string PostgresServer::Query(const std::string& database, const std::string& sql) const {
    const std::unique_ptr<PGconn, ConnectionCloser> connection(PQconnectdb(Url(database).c_str()));
    if (PQstatus(connection.get()) != CONNECTION_OK) {
        throw std::runtime_error(std::string("cannot connect: ") +
                                 PQerrorMessage(connection.get()));
    }
    const std::unique_ptr<PGresult, ResultClearer> result(PQexec(connection.get(), sql.c_str()));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        throw std::runtime_error(sql + ": " + PQresultErrorMessage(result.get()));
    }
    if (status != PGRES_TUPLES_OK || PQntuples(result.get()) == 0 || PQnfields(result.get()) == 0) {
        return "";
    }
    return PQgetvalue(result.get(), 0, 0);
}

std::string PostgresServer::Log() const {
    return ReadFile(folder_ / "postgres.log");
}

PostgresServer& SharedPostgresServer() {
    static PostgresServer server;
    return server;
}

}  // namespace testing_support
