#include "ladder_server/admin/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "ladder_server/http/address.h"

#ifndef QUILLMARK_LADDERD_CONFIG
#define QUILLMARK_LADDERD_CONFIG "/etc/quillmark/ladderd.conf"
#endif

namespace ladder {

namespace {

// One value of an option, and where it was given: on the command line (file empty) or under
// key in the configuration file.
struct Given {
    std::string text;
    std::string file;
    std::string key;
};

// "--port must ..." for the command line, "FILE: serve.port must ..." for the file, so an
// operator finds the place to mend.
UsageError Refuse(const Given& given, const std::string& option, const std::string& what) {
    if (given.file.empty()) {
        return UsageError{"--" + option + " " + what};
    }
    return UsageError{given.file + ": " + given.key + " " + what};
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

// The commands as CLI11 apps. Every option is stored as the words given, so that the values
// are checked here, with our own messages, whether they come from the command line or the
// file. Options a command does not know fall through to the top, which keeps them as extras:
// "takes no option" and "unknown option" are told apart from those.
class Grammar {
public:
    Grammar() {
        app_.allow_extras();
        app_.fallthrough();  // inherited by every command made below
        app_.require_subcommand(0, 1);
        Value(app_, "--database");
        Value(app_, "--config");

        CLI::App* serve = Command(app_, "serve");
        for (const char* name :
             {"--address", "--port", "--threads", "--trusted-proxy", "--log-file"}) {
            Value(*serve, name);
        }
        CLI::App* user = Command(app_, "user");
        CLI::App* add = Command(*user, "add");
        add->add_option("name");
        Value(*add, "--email");
        add->add_flag("--enabled")->disable_flag_override();
        for (const char* name : {"enable", "disable", "passwd"}) {
            Command(*user, name)->add_option("name");
        }
        Command(*user, "list");
        CLI::App* set = Command(*Command(app_, "version"), "set");
        set->add_option("version");
        set->add_option("download");
        Value(*Command(app_, "copy"), "--to");
    }

    CLI::App& App() { return app_; }

    // The innermost command given, and its words ("user add"); the top when none was.
    std::pair<CLI::App*, std::string> Leaf() {
        CLI::App* leaf = &app_;
        std::string words;
        while (!leaf->get_subcommands().empty()) {
            leaf = leaf->get_subcommands().front();
            words += (words.empty() ? "" : " ") + leaf->get_name();
        }
        return {leaf, words};
    }

    // Whether some command takes the option --name.
    bool Knows(const std::string& name) const {
        return std::find(names_.begin(), names_.end(), name) != names_.end();
    }
    bool IsFlag(const std::string& name) const { return name == "enabled"; }

    // The command the configuration file's section path names; null when there is none.
    CLI::App* Section(const std::vector<std::string>& parents) {
        CLI::App* app = &app_;
        for (const auto& name : parents) {
            const auto found = app->get_subcommands(
                [&name](const CLI::App* sub) { return sub->get_name() == name; });
            if (found.empty()) {
                return nullptr;
            }
            app = found.front();
        }
        return app;
    }

private:
    CLI::App* Command(CLI::App& parent, const std::string& name) {
        CLI::App* command = parent.add_subcommand(name);
        command->require_subcommand(0, 1);
        return command;
    }
    void Value(CLI::App& app, const std::string& name) {
        app.add_option(name)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        names_.push_back(name.substr(2));
    }

    CLI::App app_{"quillmark-ladderd"};
    std::vector<std::string> names_{"enabled"};
};

// The option's name from the start of a CLI11 message about it ("--port: 1 required ...",
// "enabled was given ...").
std::string NameInMessage(const std::string& message) {
    std::string name = message.substr(0, message.find_first_of(": "));
    name.erase(0, name.find_first_not_of('-'));
    return name;
}

// What the file said for the options of the command given, by option; keys of other
// commands are checked but not used.
using FileValues = std::map<const CLI::Option*, Given>;

std::optional<UsageError> ReadConfig(Grammar& grammar, CLI::App* leaf, const std::string& path,
                                     const std::string& text, FileValues& values) {
    std::vector<CLI::ConfigItem> items;
    try {
        std::istringstream in(text);
        items = CLI::ConfigINI().from_config(in);
    } catch (const CLI::Error& e) {
        return UsageError{path + ": " + e.what()};
    }
    for (auto& item : items) {
        if (item.name == "--" || item.name == "++") {
            continue;  // CLI11's marks of a section's end and start
        }
        std::replace(item.name.begin(), item.name.end(), '_', '-');
        const std::string key = item.fullname();
        CLI::App* section = grammar.Section(item.parents);
        const CLI::Option* option =
            section == nullptr || item.name == "config" || item.name == "help"
                ? nullptr
                : section->get_option_no_throw("--" + item.name);
        if (option == nullptr || option->get_positional()) {
            return UsageError{path + ": unknown key \"" + key + "\""};
        }
        Given given{"", path, key};
        if (item.name == "trusted-proxy") {
            given.text = CLI::detail::join(item.inputs, ",");
        } else if (item.inputs.size() == 1) {
            given.text = item.inputs.front();
        } else {
            return Refuse(given, item.name, "takes one value (quote a value with blanks)");
        }
        if (grammar.IsFlag(item.name) && given.text != "true" && given.text != "false") {
            return Refuse(given, item.name, "must be true or false");
        }
        bool applies = false;
        for (const CLI::App* app = leaf; app != nullptr && !applies; app = app->get_parent()) {
            applies = app == section;
        }
        if (applies) {
            values[option] = given;
        }
    }
    return std::nullopt;
}

// The option's value: the command line's, else the file's; only the file's with fileOnly.
std::optional<Given> ValueOf(const CLI::App& app, const std::string& name, const FileValues& file,
                             bool fileOnly = false) {
    const CLI::Option* option = app.get_option_no_throw("--" + name);
    if (option == nullptr) {
        return std::nullopt;
    }
    if (option->count() > 0 && !fileOnly) {
        return Given{option->results().front(), "", ""};
    }
    const auto found = file.find(option);
    if (found != file.end()) {
        return found->second;
    }
    return std::nullopt;
}

// With fileOnly, reads the file's values alone: a bad one is refused even where the command
// line gives another.
std::variant<ServeCommand, UsageError> ReadServe(const CLI::App& serve, const FileValues& file,
                                                 bool fileOnly) {
    const auto ValueOf = [fileOnly](const CLI::App& app, const std::string& name,
                                    const FileValues& values) {
        return ladder::ValueOf(app, name, values, fileOnly);
    };
    ServeCommand command;
    if (const auto address = ValueOf(serve, "address", file)) {
        if (address->text.empty()) {
            return Refuse(*address, "address", "must not be empty");
        }
        command.address = address->text;
    }
    if (const auto port = ValueOf(serve, "port", file)) {
        const auto value = ReadInt(port->text, 0, 65535);
        if (!value) {
            return Refuse(*port, "port", "must be a number from 0 to 65535");
        }
        command.port = *value;
    }
    if (const auto threads = ValueOf(serve, "threads", file)) {
        const auto value = ReadInt(threads->text, 1, 256);
        if (!value) {
            return Refuse(*threads, "threads", "must be a number from 1 to 256");
        }
        command.threads = *value;
    }
    if (const auto proxies = ValueOf(serve, "trusted-proxy", file)) {
        const std::string& text = proxies->text;
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t comma = std::min(text.find(',', start), text.size());
            const std::string proxy = text.substr(start, comma - start);
            if (!http::IsNumericAddress(proxy)) {
                return Refuse(*proxies, "trusted-proxy",
                              "takes numeric addresses, separated by commas");
            }
            command.trustedProxies.push_back(proxy);
            start = comma + 1;
        }
    }
    if (const auto logFile = ValueOf(serve, "log-file", file)) {
        if (logFile->text.empty()) {
            return Refuse(*logFile, "log-file", "must not be empty");
        }
        command.logFile = logFile->text;
    }
    return command;
}

std::string Positional(const CLI::App& app, const char* name) {
    return app.get_option_no_throw(name)->results().front();
}

std::variant<Command, UsageError> ReadCommand(const CLI::App& leaf, const std::string& words,
                                              const FileValues& file) {
    if (words == "serve") {
        auto fileAlone = ReadServe(leaf, file, true);
        if (auto* bad = std::get_if<UsageError>(&fileAlone)) {
            return std::move(*bad);
        }
        auto serve = ReadServe(leaf, file, false);
        if (auto* bad = std::get_if<UsageError>(&serve)) {
            return std::move(*bad);
        }
        return std::get<ServeCommand>(serve);
    }
    if (words == "user add") {
        const auto email = ValueOf(leaf, "email", file);
        // A flag on the command line has no words of its own; in the file it is true or false.
        const CLI::Option* flag = leaf.get_option_no_throw("--enabled");
        const auto inFile = file.find(flag);
        const bool enabled =
            flag->count() > 0 || (inFile != file.end() && inFile->second.text == "true");
        return UserAddCommand{Positional(leaf, "name"), email ? email->text : "", enabled};
    }
    if (words == "user enable" || words == "user disable") {
        return UserSetEnabledCommand{Positional(leaf, "name"), words == "user enable"};
    }
    if (words == "user passwd") {
        return UserPasswdCommand{Positional(leaf, "name")};
    }
    if (words == "user list") {
        return UserListCommand{};
    }
    if (words == "version set") {
        return VersionSetCommand{Positional(leaf, "version"), Positional(leaf, "download")};
    }
    const auto to = ValueOf(leaf, "to", file);
    if (!to || to->text.empty()) {
        return UsageError{"\"copy\" needs --to TARGET, the database to copy into"};
    }
    return CopyCommand{to->text};
}

// The mistakes CLI11 left for us: options no command or not this one takes, words too many
// or too few, an option given twice.
std::optional<UsageError> CheckWords(Grammar& grammar, CLI::App& leaf, const std::string& words) {
    std::string extraWords;
    for (std::string extra : grammar.App().remaining(true)) {
        if (extra.size() < 2 || extra[0] != '-') {
            extraWords += " " + extra;
            continue;
        }
        extra.erase(0, extra.find_first_not_of('-'));
        extra = extra.substr(0, extra.find('='));
        if (!grammar.Knows(extra)) {
            return UsageError{"unknown option --" + extra};
        }
        if (!words.empty()) {
            return UsageError{"\"" + words + "\" takes no option --" + extra};
        }
    }
    for (const CLI::App* app = &leaf; app != nullptr; app = app->get_parent()) {
        for (const CLI::Option* option : app->get_options()) {
            if (!option->get_positional() && option->count() > 1 &&
                !grammar.IsFlag(option->get_name(false, true).substr(2))) {
                return UsageError{"option " + option->get_name(false, true) + " given twice"};
            }
        }
    }
    bool complete = leaf.get_subcommands({}).empty() && !words.empty();
    for (const CLI::Option* option : leaf.get_options()) {
        complete = complete && (!option->get_positional() || option->count() == 1);
    }
    if (words.empty() && extraWords.empty()) {
        return UsageError{"no command given"};
    }
    if (!complete || !extraWords.empty()) {
        std::string given = words + extraWords;
        given.erase(0, given.find_first_not_of(' '));
        return UsageError{"unknown command or wrong number of arguments: " + given};
    }
    return std::nullopt;
}

}  // namespace

std::variant<Invocation, UsageError> ParseCommandLine(const std::vector<std::string>& args,
                                                      const Surroundings& surroundings) {
    Grammar grammar;
    CLI::App& app = grammar.App();
    try {
        // CLI11 takes the words last first.
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        return Invocation{surroundings.defaultDatabase, HelpCommand{}};
    } catch (const CLI::CallForAllHelp&) {
        return Invocation{surroundings.defaultDatabase, HelpCommand{}};
    } catch (const CLI::ArgumentMismatch& e) {
        const std::string name = NameInMessage(e.what());
        if (!grammar.Knows(name)) {
            return UsageError{e.what()};
        }
        return UsageError{"option --" + name +
                          (grammar.IsFlag(name) ? " takes no value" : " needs a value")};
    } catch (const CLI::ParseError& e) {
        return UsageError{e.what()};
    }
    auto [leaf, words] = grammar.Leaf();
    if (auto bad = CheckWords(grammar, *leaf, words)) {
        return *bad;
    }

    const CLI::Option* databaseOption = app.get_option("--database");
    if (databaseOption->count() > 0 && databaseOption->results().front().empty()) {
        return UsageError{"--database must not be empty"};
    }
    const CLI::Option* configOption = app.get_option("--config");
    const bool configGiven = configOption->count() > 0;
    const std::string configPath =
        configGiven ? configOption->results().front() : surroundings.defaultConfig;
    if (configGiven && configPath.empty()) {
        return UsageError{"--config must not be empty"};
    }
    FileValues file;
    if (!configPath.empty()) {
        ConfigText config = surroundings.readConfig ? surroundings.readConfig(configPath)
                                                    : ConfigText{std::nullopt, true, ""};
        if (config.text) {
            if (auto bad = ReadConfig(grammar, leaf, configPath, *config.text, file)) {
                return *bad;
            }
        } else if (configGiven || !config.missing) {
            return UsageError{"cannot read the configuration file " + configPath +
                              (config.problem.empty() ? "" : ": " + config.problem)};
        }
    }

    Invocation invocation;
    if (databaseOption->count() > 0) {
        invocation.database = databaseOption->results().front();
    } else if (!surroundings.databaseVariable.empty()) {
        invocation.database = surroundings.databaseVariable;
    } else if (const auto fromFile = ValueOf(app, "database", file)) {
        if (fromFile->text.empty()) {
            return Refuse(*fromFile, "database", "must not be empty");
        }
        invocation.database = fromFile->text;
    } else {
        invocation.database = surroundings.defaultDatabase;
    }
    if (invocation.database.empty()) {
        return UsageError{"--database must not be empty"};
    }
    auto command = ReadCommand(*leaf, words, file);
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

std::variant<Invocation, UsageError> ParseCommandLine(const std::vector<std::string>& args,
                                                      const std::string& defaultDatabase) {
    return ParseCommandLine(args, Surroundings{defaultDatabase, "", "", nullptr});
}

ConfigText ReadConfigFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int error = errno;
        return ConfigText{std::nullopt, error == ENOENT, std::strerror(error)};
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        return ConfigText{std::nullopt, false, "read error"};
    }
    return ConfigText{text.str(), false, ""};
}

std::string DefaultConfigPath() {
    return QUILLMARK_LADDERD_CONFIG;
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
    return R"(Usage: quillmark-ladderd COMMAND [--database DATABASE] [--config FILE]

The Quillmark online ladder server and its administration.

Commands:
  serve [--address A] [--port P] [--threads N] [--trusted-proxy ADDRESSES]
        [--log-file FILE]
        Serve the ladder over HTTP on A:P (default 127.0.0.1:8642; port 0 picks a free
        one), N threads (default 8) answering finishes and standings, and one thread per
        core checking passwords. The first line of output is "listening on A:P".
        SIGINT or SIGTERM stop it gracefully. Facing the internet, it runs behind a
        front (nginx, see deploy/) that terminates TLS and holds slow clients: never
        bind it to a public address on its own. --trusted-proxy names the fronts
        (numeric addresses, comma-separated) whose X-Real-IP header gives the
        client's address, which failed logins are throttled by. Log lines go to
        standard error, or are appended to FILE, which SIGHUP opens anew (for
        logrotate). Under systemd it reports readiness and liveness (Type=notify,
        WatchdogSec=).
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
        ?host=/run/postgresql). Default: $QUILLMARK_LADDER_DATABASE, else the
        configuration file's database, else $XDG_DATA_HOME/quillmark/ladder.db, or
        ~/.local/share/quillmark/ladder.db when XDG_DATA_HOME is not set.
  --config FILE
        Options as "key = value" lines: database at the top, the serve options under
        [serve] (address = 0.0.0.0). Default: )" QUILLMARK_LADDERD_CONFIG R"(, read
        when it exists. The command line wins over the file.
  --help, -h  This text.
)";
}

}  // namespace ladder
