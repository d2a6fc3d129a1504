#include "ladder_server/admin/serve.h"

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <thread>

#include "ladder_server/service/account_service.h"
#include "ladder_server/store/clock.h"
#include "ladder_server/service/game_service.h"
#include "ladder_server/routes/ladder_routes.h"
#include "ladder_server/service/password_hash.h"
#include "ladder_server/service/sodium_init.h"
#include "ladder_server/admin/store_factory.h"

namespace ladder {

namespace {

sigset_t StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

}  // namespace

int Serve(const ServeCommand& command, const std::string& database, std::ostream& out,
          std::ostream& err) {
    // A client that hangs up mid-answer must not end the server.
    signal(SIGPIPE, SIG_IGN);
    const sigset_t stopSignals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        InitSodium();
        // Made now, so the first refusal of an unknown user costs no more than any other.
        DummyPasswordHash();
        RouteOptions options;
        options.threads = command.threads;
        options.loginThreads = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
        options.trustedProxies = command.trustedProxies;
        // Every thread of both pools may hold a connection at once.
        const auto store = OpenStore(database, options.threads + options.loginThreads + 1);
        SystemClock clock;
        AccountService accounts(*store, clock);
        GameService games(*store, accounts);
        LadderRoutes server(games, options);

        const int port = server.Bind(command.address, command.port);
        if (port < 0) {
            err << "quillmark-ladderd: cannot listen on " << command.address << ':' << command.port
                << '\n';
            return 1;
        }

        std::atomic<bool> listenEnded = false;
        std::thread stopper([&] {
            int signal = 0;
            sigwait(&stopSignals, &signal);
            if (listenEnded) {
                return;
            }
            err << "quillmark-ladderd: stopping on signal " << signal << std::endl;
            // Stop only takes once Listen is under way.
            while (!server.IsRunning() && !listenEnded) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            server.Stop();
        });

        out << "listening on " << command.address << ':' << port << std::endl;
        err << "quillmark-ladderd: database " << DatabaseForLog(database) << ", " << command.threads
            << " threads" << std::endl;
        const bool served = server.Listen();
        listenEnded = true;
        pthread_kill(stopper.native_handle(), SIGTERM);  // wakes it if no signal came
        stopper.join();
        if (!served) {
            err << "quillmark-ladderd: the server failed while listening\n";
            return 1;
        }
        err << "quillmark-ladderd: stopped" << std::endl;
        return 0;
    } catch (const std::exception& e) {
        err << "quillmark-ladderd: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace ladder
