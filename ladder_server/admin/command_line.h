#pragma once

// The command line of quillmark-ladderd, read into a value; no side effects in here.

#include <string>
#include <variant>
#include <vector>

namespace ladder {

inline constexpr int kDefaultPort = 8642;
inline constexpr const char* kDefaultAddress = "127.0.0.1";
inline constexpr int kDefaultThreads = 8;

struct ServeCommand {
    std::string address = kDefaultAddress;
    int port = kDefaultPort;  // 0 picks a free port
    int threads = kDefaultThreads;
    // Numeric addresses of the fronts whose X-Real-IP header names the client.
    std::vector<std::string> trustedProxies;
};
struct UserAddCommand {
    std::string name;
    std::string email;
    bool enabled = false;
};
struct UserSetEnabledCommand {
    std::string name;
    bool enabled = false;
};
struct UserPasswdCommand {
    std::string name;
};
struct UserListCommand {};
struct VersionSetCommand {
    std::string version;
    std::string download;
};
// Copies the whole ladder of the invocation's database into the database to.
struct CopyCommand {
    std::string to;
};
struct HelpCommand {};

using Command = std::variant<ServeCommand, UserAddCommand, UserSetEnabledCommand, UserPasswdCommand,
                             UserListCommand, VersionSetCommand, CopyCommand, HelpCommand>;

struct Invocation {
    // What every command works on: an SQLite file, or a postgresql:// or postgres:// URL.
    std::string database;
    Command command;
};

struct UsageError {
    std::string message;
};

// args without the program name. Options may stand anywhere after the command words, as
// "--name value" or "--name=value"; --database applies to every command, and --help (or -h)
// anywhere asks for the usage text. defaultDatabase is used when no --database is given.
std::variant<Invocation, UsageError> ParseCommandLine(const std::vector<std::string>& args,
                                                      const std::string& defaultDatabase);

// $XDG_DATA_HOME/quillmark/ladder.db, else $HOME/.local/share/quillmark/ladder.db, else
// ladder.db in the working directory; either argument may be null or empty.
std::string DefaultDatabasePath(const char* xdgDataHome, const char* home);

// The text --help prints.
std::string UsageText();

}  // namespace ladder
