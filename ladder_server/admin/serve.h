#pragma once

#include <ostream>
#include <string>

#include "ladder_server/admin/command_line.h"

namespace ladder {

// Serves the ladder kept in database until SIGINT or SIGTERM, then finishes the requests
// under way and returns 0. Prints "listening on ADDRESS:PORT" as the first line on out once
// requests are taken; problems go to err, with 1 returned when it cannot serve. Must be
// called before the process starts any thread: it blocks the two signals in every thread
// and takes them on one of its own.
int Serve(const ServeCommand& command, const std::string& database, std::ostream& out,
          std::ostream& err);

}  // namespace ladder
