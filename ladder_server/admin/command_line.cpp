#include "ladder_server/admin/command_line.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "ladder_server/http/address.h"

namespace ladder {

namespace {

// What the words and options of one command line are, before their meaning is read.
struct Words {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;  // options that take a value
    std::set<std::string> flags;                // options that stand alone
};

const std::set<std::string> kValueOptions = {"database", "address",       "port", "threads",
                                             "email",    "trusted-proxy", "to"};
const std::set<std::string> kFlagOptions = {"enabled", "help"};

std::variant<Words, UsageError> Split(const std::vector<std::string>& args) {
    Words words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h") {
            words.flags.insert("help");
            continue;
        }
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            words.positional.push_back(arg);
            continue;
        }
        std::string name = arg.substr(2);
        std::optional<std::string> value;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (kFlagOptions.count(name) != 0) {
            if (value) {
                return UsageError{"option --" + name + " takes no value"};
            }
            words.flags.insert(name);
        } else if (kValueOptions.count(name) != 0) {
            if (!value) {
                if (i + 1 >= args.size()) {
                    return UsageError{"option --" + name + " needs a value"};
                }
                value = args[++i];
            }
            if (words.values.count(name) != 0) {
                return UsageError{"option --" + name + " given twice"};
            }
            words.values[name] = *value;
        } else {
            return UsageError{"unknown option --" + name};
        }
    }
    return words;
}

std::optional<int> ReadInt(const std::string& text, int least, int most) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < least ||
        value > most) {
        return std::nullopt;
    }
    return value;
}

// Fails when an option was given that this command does not take.
std::optional<UsageError> OnlyOptions(const Words& words, const std::set<std::string>& allowed,
                                      const std::string& command) {
    for (const auto& [name, value] : words.values) {
        if (name != "database" && allowed.count(name) == 0) {
            return UsageError{"\"" + command + "\" takes no option --" + name};
        }
    }
    for (const auto& name : words.flags) {
        if (allowed.count(name) == 0) {
            return UsageError{"\"" + command + "\" takes no option --" + name};
        }
    }
    return std::nullopt;
}

std::variant<Command, UsageError> ReadCommand(const Words& words) {
    const auto& p = words.positional;
    const auto is = [&p](std::initializer_list<const char*> command, std::size_t arguments) {
        if (p.size() < command.size()) {
            return false;
        }
        std::size_t i = 0;
        for (const char* word : command) {
            if (p[i++] != word) {
                return false;
            }
        }
        return p.size() == command.size() + arguments;
    };
    const auto option = [&words](const char* name, std::string fallback) {
        const auto found = words.values.find(name);
        return found != words.values.end() ? found->second : fallback;
    };

    if (is({"serve"}, 0)) {
        if (auto bad =
                OnlyOptions(words, {"address", "port", "threads", "trusted-proxy"}, "serve")) {
            return *bad;
        }
        ServeCommand serve;
        serve.address = option("address", kDefaultAddress);
        if (serve.address.empty()) {
            return UsageError{"--address must not be empty"};
        }
        const auto port = ReadInt(option("port", std::to_string(kDefaultPort)), 0, 65535);
        if (!port) {
            return UsageError{"--port must be a number from 0 to 65535"};
        }
        serve.port = *port;
        const auto threads = ReadInt(option("threads", std::to_string(kDefaultThreads)), 1, 256);
        if (!threads) {
            return UsageError{"--threads must be a number from 1 to 256"};
        }
        serve.threads = *threads;
        std::string proxies = option("trusted-proxy", "");
        for (std::size_t start = 0; start < proxies.size();) {
            const std::size_t comma = std::min(proxies.find(',', start), proxies.size());
            const std::string proxy = proxies.substr(start, comma - start);
            if (!http::IsNumericAddress(proxy)) {
                return UsageError{"--trusted-proxy takes numeric addresses, separated by commas"};
            }
            serve.trustedProxies.push_back(proxy);
            start = comma + 1;
        }
        return serve;
    }
    if (is({"user", "add"}, 1)) {
        if (auto bad = OnlyOptions(words, {"email", "enabled"}, "user add")) {
            return *bad;
        }
        return UserAddCommand{p[2], option("email", ""), words.flags.count("enabled") != 0};
    }
    if (is({"user", "enable"}, 1) || is({"user", "disable"}, 1)) {
        if (auto bad = OnlyOptions(words, {}, "user " + p[1])) {
            return *bad;
        }
        return UserSetEnabledCommand{p[2], p[1] == "enable"};
    }
    if (is({"user", "passwd"}, 1)) {
        if (auto bad = OnlyOptions(words, {}, "user passwd")) {
            return *bad;
        }
        return UserPasswdCommand{p[2]};
    }
    if (is({"user", "list"}, 0)) {
        if (auto bad = OnlyOptions(words, {}, "user list")) {
            return *bad;
        }
        return UserListCommand{};
    }
    if (is({"version", "set"}, 2)) {
        if (auto bad = OnlyOptions(words, {}, "version set")) {
            return *bad;
        }
        return VersionSetCommand{p[2], p[3]};
    }
    if (is({"copy"}, 0)) {
        if (auto bad = OnlyOptions(words, {"to"}, "copy")) {
            return *bad;
        }
        const std::string to = option("to", "");
        if (to.empty()) {
            return UsageError{"\"copy\" needs --to TARGET, the database to copy into"};
        }
        return CopyCommand{to};
    }
    if (p.empty()) {
        return UsageError{"no command given"};
    }
    std::string given;
    for (const auto& word : p) {
        given += (given.empty() ? "" : " ") + word;
    }
    return UsageError{"unknown command or wrong number of arguments: " + given};
}

}  // namespace

std::variant<Invocation, UsageError> ParseCommandLine(const std::vector<std::string>& args,
                                                      const std::string& defaultDatabase) {
    auto split = Split(args);
    if (auto* bad = std::get_if<UsageError>(&split)) {
        return std::move(*bad);
    }
    const Words& words = std::get<Words>(split);
    Invocation invocation;
    const auto database = words.values.find("database");
    invocation.database = database != words.values.end() ? database->second : defaultDatabase;
    if (invocation.database.empty()) {
        return UsageError{"--database must not be empty"};
    }
    if (words.flags.count("help") != 0) {
        invocation.command = HelpCommand{};
        return invocation;
    }
    auto command = ReadCommand(words);
    if (auto* bad = std::get_if<UsageError>(&command)) {
        return std::move(*bad);
    }
    invocation.command = std::get<Command>(command);
    if (const auto* copy = std::get_if<CopyCommand>(&invocation.command);
        copy != nullptr && copy->to == invocation.database) {
        return UsageError{"\"copy\" copies into another database than --database"};
    }
    return invocation;
}

std::string DefaultDatabasePath(const char* xdgDataHome, const char* home) {
    namespace fs = std::filesystem;
    if (xdgDataHome != nullptr && *xdgDataHome != '\0') {
        return (fs::path(xdgDataHome) / "quillmark" / "ladder.db").string();
    }
    if (home != nullptr && *home != '\0') {
        return (fs::path(home) / ".local" / "share" / "quillmark" / "ladder.db").string();
    }
    return "ladder.db";
}

std::string UsageText() {
    return R"(Usage: quillmark-ladderd COMMAND [--database DATABASE]

The Quillmark online ladder server and its administration.

Commands:
  serve [--address A] [--port P] [--threads N] [--trusted-proxy ADDRESSES]
        Serve the ladder over HTTP on A:P (default 127.0.0.1:8642; port 0 picks a free
        one), N threads (default 8) answering finishes and standings, and one thread per
        core checking passwords. The first line of output is "listening on A:P".
        SIGINT or SIGTERM stop it gracefully. Facing the internet, it runs behind a
        front (nginx, see deploy/) that terminates TLS and holds slow clients: never
        bind it to a public address on its own. --trusted-proxy names the fronts
        (numeric addresses, comma-separated) whose X-Real-IP header gives the
        client's address, which failed logins are throttled by.
  user add NAME [--email E] [--enabled]
        Add an account; its password is read from standard input (one line).
  user enable NAME | user disable NAME
        Allow or refuse the account online games.
  user passwd NAME
        Set a new password, read from standard input (one line).
  user list
        One line per account: name, "enabled" or "disabled", e-mail, tab-separated.
  version set VERSION DOWNLOAD_URL
        What GET /v2/version answers: the newest game version and where to get it.
  copy --to TARGET
        Copy the whole ladder of --database (every account with its password hash,
        every game with its id, state and times, the version setting) into TARGET,
        which must hold no users or games yet; in one transaction, so a copy that
        fails leaves TARGET as it was.

Options:
  --database DATABASE
        An SQLite file, made on first use, or a PostgreSQL database that several
        servers may share, named by a URL: postgresql://USER@HOST/NAME (also
        postgres://; a password in it or in ~/.pgpass, a socket folder as
        ?host=/run/postgresql). Default: $XDG_DATA_HOME/quillmark/ladder.db, or
        ~/.local/share/quillmark/ladder.db when XDG_DATA_HOME is not set.
  --help, -h  This text.
)";
}

}  // namespace ladder
