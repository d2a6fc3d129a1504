#pragma once

#include <ostream>
#include <string>

#include "ladder_server/admin/command_line.h"
#include "ladder_server/admin/log.h"

namespace ladder {

// Serves the ladder kept in database until SIGINT or SIGTERM, then finishes the requests
// under way and returns 0. Prints "listening on ADDRESS:PORT" as the first line on out once
// requests are taken; logs to log, or to command.logFile, which SIGHUP opens anew; returns 1
// when it cannot serve. Tells systemd through $NOTIFY_SOCKET when it is ready, alive
// ($WATCHDOG_USEC) and stopping. Must be called before the process starts any thread: it
// blocks the three signals in every thread and takes them on one of its own.
int Serve(const ServeCommand& command, const std::string& database, std::ostream& out, Log& log);

}  // namespace ladder
