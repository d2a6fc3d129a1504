#pragma once

// The command line of quillmark-ladderd, with its configuration file and environment, read
// into a value; no side effects in here.

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace ladder {

inline constexpr int kDefaultPort = 8642;
inline constexpr const char* kDefaultAddress = "127.0.0.1";
inline constexpr int kDefaultThreads = 8;
// The environment variable naming the database, so that a URL with a password needs no
// command line (which every user of the machine can read).
inline constexpr const char* kDatabaseVariable = "QUILLMARK_LADDER_DATABASE";

struct ServeCommand {
    std::string address = kDefaultAddress;
    int port = kDefaultPort;  // 0 picks a free port
    int threads = kDefaultThreads;
    // Numeric addresses of the fronts whose X-Real-IP header names the client.
    std::vector<std::string> trustedProxies;
    // The file log lines are appended to; empty for standard error.
    std::string logFile;
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

// What reading a configuration file gave: its text, or why there is none.
struct ConfigText {
    std::optional<std::string> text;
    bool missing = false;  // no such file, which the default file may be
    std::string problem;   // without text: what went wrong, as strerror says it
};
using ConfigReader = std::function<ConfigText(const std::string& path)>;

// What a command line is read against besides its words.
struct Surroundings {
    // The database when neither the command line, the environment nor the file name one.
    std::string defaultDatabase;
    // The value of kDatabaseVariable; empty when it is not set.
    std::string databaseVariable;
    // The file read when no --config is given; it may be missing. Empty: none.
    std::string defaultConfig;
    // Reads a configuration file; null reads none (every file counts as missing).
    ConfigReader readConfig;
};

// args without the program name. Options may stand anywhere after the command words, as
// "--name value" or "--name=value"; --database and --config apply to every command, and
// --help (or -h) anywhere asks for the usage text.
//
// The configuration file (CLI11's INI: "key = value" lines, '#' or ';' comments, the serve
// options under "[serve]", database at the top) may hold any option; a value on the command
// line wins over it. The database is taken from, in this order: --database, the environment,
// the file, defaultDatabase. A file named by --config that cannot be read, an unknown key or
// a bad value in a file are usage errors naming the file and the key.
std::variant<Invocation, UsageError> ParseCommandLine(const std::vector<std::string>& args,
                                                      const Surroundings& surroundings);

// The same with no environment and no configuration file.
std::variant<Invocation, UsageError> ParseCommandLine(const std::vector<std::string>& args,
                                                      const std::string& defaultDatabase);

// Reads the file at path from the file system.
ConfigText ReadConfigFile(const std::string& path);

// The configuration file read when --config is not given: ladderd.conf in the installed
// system configuration folder's quillmark/, as the build chose it.
std::string DefaultConfigPath();

// $XDG_DATA_HOME/quillmark/ladder.db, else $HOME/.local/share/quillmark/ladder.db, else
// ladder.db in the working directory; either argument may be null or empty.
std::string DefaultDatabasePath(const char* xdgDataHome, const char* home);

// The text --help prints.
std::string UsageText();

}  // namespace ladder
