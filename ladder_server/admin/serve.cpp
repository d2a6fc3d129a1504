#include "ladder_server/admin/serve.h"

#include <netdb.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "ladder_protocol/protocol.h"
#include "ladder_server/admin/store_factory.h"
#include "ladder_server/admin/systemd_notify.h"
#include "ladder_server/routes/ladder_routes.h"
#include "ladder_server/service/account_service.h"
#include "ladder_server/service/game_service.h"
#include "ladder_server/service/password_hash.h"
#include "ladder_server/service/sodium_init.h"
#include "ladder_server/store/clock.h"

namespace ladder {

namespace {

using Clock = std::chrono::steady_clock;

sigset_t HandledSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    return signals;
}

// A socket descriptor, closed however the probe ends.
class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

// Waits until fd is ready for events, at most until deadline.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd watched{fd, events, 0};
        const int ready = poll(&watched, 1, static_cast<int>(left.count()));
        if (ready > 0) {
            return true;
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
}

// Whether the server at address:port answers a request before deadline, with any status: it
// goes the way a client's goes, through the event loop and the work pool to the store, so a
// loop or a pool that hangs fails it, while a database that refuses does not (restarting
// would not mend that).
bool Answers(const std::string& address, int port, Clock::time_point deadline) {
    // A server on every address is asked on loopback.
    const std::string host = address == "0.0.0.0" ? "127.0.0.1" : address == "::" ? "::1" : address;
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        return false;
    }
    std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addresses(found, &freeaddrinfo);
    Socket socket(::socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.Get() < 0) {
        return false;
    }
    if (connect(socket.Get(), found->ai_addr, found->ai_addrlen) != 0 && errno != EINPROGRESS) {
        return false;
    }
    const std::string request = std::string("GET ") + paths::kVersion +
                                " HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n";
    for (std::size_t sent = 0; sent < request.size();) {
        if (!WaitFor(socket.Get(), POLLOUT, deadline)) {
            return false;
        }
        const ssize_t n =
            send(socket.Get(), request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        sent += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    std::string answer;
    while (answer.find("\r\n") == std::string::npos) {
        if (!WaitFor(socket.Get(), POLLIN, deadline)) {
            return false;
        }
        char buffer[256];
        const ssize_t n = recv(socket.Get(), buffer, sizeof buffer, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            return false;
        }
        answer.append(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    return answer.rfind("HTTP/1.1 ", 0) == 0;
}

// Tells systemd the server is ready once it answers, then that it is alive while it does;
// ends when the server stops.
class Health {
public:
    Health(const SystemdNotifier& notifier, Log& log, std::string address, int port)
        : notifier_(notifier), log_(log), address_(std::move(address)), port_(port) {
        if (notifier_.Active()) {
            thread_ = std::thread([this] { Run(); });
        }
    }
    ~Health() {
        {
            std::lock_guard lock(mutex_);
            ended_ = true;
        }
        woken_.notify_all();
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    Health(const Health&) = delete;
    Health& operator=(const Health&) = delete;

private:
    // Sleeps for period unless the server ends first; false when it did.
    bool Sleep(std::chrono::microseconds period) {
        std::unique_lock lock(mutex_);
        return !woken_.wait_for(lock, period, [this] { return ended_; });
    }

    void Run() {
        using namespace std::chrono_literals;
        const std::string where = address_ + ':' + std::to_string(port_);
        // Listen starts after the thread does; asked again until it answers.
        while (!Answers(address_, port_, Clock::now() + 1s)) {
            if (!Sleep(10ms)) {
                return;
            }
        }
        notifier_.Ready("listening on " + where);
        const auto interval = notifier_.WatchdogInterval();
        if (interval.count() == 0) {
            return;
        }
        for (auto next = Clock::now() + interval;
             Sleep(std::chrono::duration_cast<std::chrono::microseconds>(next - Clock::now()));
             next += interval) {
            // A probe may take the interval: a ping late by that much is still in time.
            if (Answers(address_, port_, Clock::now() + interval)) {
                notifier_.Watchdog();
            } else {
                log_.Warning("the server did not answer its own probe on " + where);
            }
            next = std::max(next, Clock::now());
        }
    }

    const SystemdNotifier& notifier_;
    Log& log_;
    const std::string address_;
    const int port_;
    std::mutex mutex_;
    std::condition_variable woken_;
    bool ended_ = false;
    std::thread thread_;
};

}  // namespace

int Serve(const ServeCommand& command, const std::string& database, std::ostream& out, Log& log) {
    // A client that hangs up mid-answer must not end the server.
    signal(SIGPIPE, SIG_IGN);
    const sigset_t signals = HandledSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    if (!command.logFile.empty()) {
        std::string problem;
        if (!log.OpenFile(command.logFile, problem)) {
            log.Error("cannot open the log file " + command.logFile + ": " + problem);
            return 1;
        }
    }
    const SystemdNotifier notifier(std::getenv("NOTIFY_SOCKET"), std::getenv("WATCHDOG_USEC"),
                                   std::getenv("WATCHDOG_PID"));
    try {
        InitSodium();
        // Made now, so the first refusal of an unknown user costs no more than any other.
        DummyPasswordHash();
        RouteOptions options;
        options.threads = command.threads;
        options.loginThreads = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
        options.trustedProxies = command.trustedProxies;
        options.logError = [&log](const std::string& line) { log.Error(line); };
        // Every thread of both pools may hold a connection at once.
        const auto store = OpenStore(database, options.threads + options.loginThreads + 1);
        SystemClock clock;
        AccountService accounts(*store, clock);
        GameService games(*store, accounts);
        LadderRoutes server(games, options);

        const int port = server.Bind(command.address, command.port);
        if (port < 0) {
            log.Error("cannot listen on " + command.address + ':' + std::to_string(command.port));
            return 1;
        }

        std::atomic<bool> listenEnded = false;
        std::thread signalTaker([&] {
            for (;;) {
                int signal = 0;
                sigwait(&signals, &signal);
                if (listenEnded) {
                    return;
                }
                if (signal != SIGHUP) {
                    log.Notice("stopping on signal " + std::to_string(signal));
                    notifier.Stopping();
                    server.Stop();
                    return;
                }
                std::string problem;
                const std::string file = log.FilePath();
                if (file.empty()) {
                    log.Notice("SIGHUP: no log file to reopen, serving on");
                } else if (log.Reopen(problem)) {
                    log.Notice("reopened the log file " + file + " on SIGHUP");
                } else {
                    log.Error("cannot reopen the log file " + file + ": " + problem);
                }
            }
        });

        out << "listening on " << command.address << ':' << port << std::endl;
        log.Info("database " + DatabaseForLog(database) + ", " + std::to_string(command.threads) +
                 " threads");
        bool served = false;
        {
            Health health(notifier, log, command.address, port);
            served = server.Listen();
        }
        listenEnded = true;
        pthread_kill(signalTaker.native_handle(), SIGTERM);  // wakes it if no signal came
        signalTaker.join();
        if (!served) {
            log.Error("the server failed while listening");
            return 1;
        }
        log.Notice("stopped");
        return 0;
    } catch (const std::exception& e) {
        log.Error(e.what());
        return 1;
    }
}

}  // namespace ladder
