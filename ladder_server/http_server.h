#pragma once

// The ladder's HTTP face: the protocol's routes (protocol.h) over a GameService, served by
// cpp-httplib's thread pool. Every answer is JSON; every refusal carries a code.

#include <httplib.h>

#include <string>

#include "ladder_server/game_service.h"

namespace ladder {

class HttpServer {
public:
    // games must outlive the server. threads (at least 1) serve connections, one each.
    HttpServer(GameService& games, int threads);
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds address:port, port 0 meaning any free one. The port bound, or -1 when the
    // address cannot be bound.
    int Bind(const std::string& address, int port);

    // Serves on the bound port until Stop; returns when every connection is done. False when
    // it could not serve at all.
    bool Listen();

    // Ends a Listen that is running (IsRunning() true) from any thread; a no-op otherwise.
    void Stop();

    bool IsRunning() const { return server_.is_running(); }

private:
    httplib::Server server_;
};

}  // namespace ladder
