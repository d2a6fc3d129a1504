#pragma once

// The operator's commands: accounts, the version service and the copy of a ladder, on
// the stores main opened.

#include <istream>
#include <ostream>

#include "ladder_server/admin/command_line.h"
#include "ladder_server/admin/log.h"
#include "ladder_server/store/store.h"

namespace ladder {

// Where an admin command talks: passwords come from in, one line each; results go to out,
// problems to log. When promptOnTerminal is set and standard input is a terminal, a prompt
// goes to err and the password is read without echo.
struct AdminConsole {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    Log& log;
    bool promptOnTerminal = false;
};

// Runs one of the user or version commands on store. The exit status: 0 done, 1 refused
// (no such user, a name taken, an empty password, ...), with a message on log.
int RunAdminCommand(const Command& command, Store& store, AdminConsole console);

// Copies the ladder of from into to, which must be empty; tells out what was copied into
// copy.to, or log why nothing was. The exit status: 0 done, 1 refused.
int RunCopyCommand(const CopyCommand& copy, Store& from, Store& to, AdminConsole console);

}  // namespace ladder
