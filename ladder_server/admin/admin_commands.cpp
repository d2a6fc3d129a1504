#include "ladder_server/admin/admin_commands.h"

#include <termios.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "ladder_server/admin/store_factory.h"
#include "ladder_server/service/account_service.h"
#include "ladder_server/store/clock.h"
#include "ladder_server/store/ladder_copy.h"

namespace ladder {

namespace {

// Turns the terminal's echo off for as long as it lives.
class EchoOff {
public:
    EchoOff() {
        if (tcgetattr(STDIN_FILENO, &saved_) == 0) {
            termios quiet = saved_;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            active_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        }
    }
    ~EchoOff() {
        if (active_) {
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
        }
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    termios saved_{};
    bool active_ = false;
};

// One line of input without its line end; nothing at the end of input.
std::optional<std::string> ReadPassword(AdminConsole& console, const std::string& name) {
    std::string line;
    bool read = false;
    if (console.promptOnTerminal && isatty(STDIN_FILENO) == 1) {
        console.err << "Password for " << name << ": " << std::flush;
        EchoOff quiet;
        read = static_cast<bool>(std::getline(console.in, line));
        console.err << '\n';
    } else {
        read = static_cast<bool>(std::getline(console.in, line));
    }
    if (!read) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

int Report(AdminConsole& console, AccountChange change, const std::string& name,
           const std::string& done) {
    if (change != AccountChange::Done) {
        console.log.Error(Describe(change, name));
        return 1;
    }
    console.out << done << '\n';
    return 0;
}

bool IsHttpUrl(const std::string& url) {
    const bool scheme = url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
    return scheme && url.find_first_of(" \t\r\n") == std::string::npos;
}

}  // namespace

int RunAdminCommand(const Command& command, Store& store, AdminConsole console) {
    SystemClock clock;
    AccountService accounts(store, clock);

    if (const auto* add = std::get_if<UserAddCommand>(&command)) {
        if (!IsValidUserName(add->name)) {
            return Report(console, AccountChange::InvalidName, add->name, "");
        }
        const auto password = ReadPassword(console, add->name);
        if (!password) {
            console.log.Error("no password on standard input");
            return 1;
        }
        return Report(console, accounts.Add(add->name, *password, add->email, add->enabled),
                      add->name,
                      "added user " + add->name + (add->enabled ? ", enabled" : ", not enabled"));
    }
    if (const auto* set = std::get_if<UserSetEnabledCommand>(&command)) {
        return Report(console, accounts.SetEnabled(set->name, set->enabled), set->name,
                      (set->enabled ? "enabled user " : "disabled user ") + set->name);
    }
    if (const auto* passwd = std::get_if<UserPasswdCommand>(&command)) {
        if (!store.FindUser(passwd->name)) {
            return Report(console, AccountChange::NoSuchUser, passwd->name, "");
        }
        const auto password = ReadPassword(console, passwd->name);
        if (!password) {
            console.log.Error("no password on standard input");
            return 1;
        }
        return Report(console, accounts.SetPassword(passwd->name, *password), passwd->name,
                      "changed the password of " + passwd->name);
    }
    if (std::holds_alternative<UserListCommand>(command)) {
        for (const UserRecord& user : accounts.List()) {
            console.out << user.name << '\t' << (user.enabled ? "enabled" : "disabled") << '\t'
                        << user.email << '\n';
        }
        return 0;
    }
    if (const auto* version = std::get_if<VersionSetCommand>(&command)) {
        if (version->version.empty() ||
            version->version.find_first_of(" \t\r\n") != std::string::npos) {
            console.log.Error("the version must be one word, like 1.2.0");
            return 1;
        }
        if (!IsHttpUrl(version->download)) {
            console.log.Error(
                "the download address must be an http:// or https:// URL without blanks");
            return 1;
        }
        store.SetVersion(VersionInfo{version->version, version->download});
        console.out << "version " << version->version << ", download " << version->download << '\n';
        return 0;
    }
    console.log.Error("not an admin command");
    return 2;
}

int RunCopyCommand(const CopyCommand& copy, Store& from, Store& to, AdminConsole console) {
    try {
        const CopyCounts counts = CopyLadder(from, to);
        console.out << "copied " << counts.users << (counts.users == 1 ? " user, " : " users, ")
                    << counts.games << (counts.games == 1 ? " game" : " games")
                    << (counts.version ? " and the version setting" : "") << " into "
                    << DatabaseForLog(copy.to) << '\n';
        return 0;
    } catch (const LadderNotEmpty& refused) {
        console.log.Error(std::string("nothing copied: ") + refused.what());
        return 1;
    }
}

}  // namespace ladder
