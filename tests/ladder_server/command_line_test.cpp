// Reading quillmark-ladderd's command line.

#include "ladder_server/admin/command_line.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using ladder::Invocation;
using ladder::ParseCommandLine;
using ladder::UsageError;

const std::string kDefault = "/data/ladder.db";

Invocation Parse(const std::vector<std::string>& args) {
    auto parsed = ParseCommandLine(args, kDefault);
    if (const auto* bad = std::get_if<UsageError>(&parsed)) {
        ADD_FAILURE() << "refused: " << bad->message;
        return {};
    }
    return std::get<Invocation>(parsed);
}

std::string Refusal(const std::vector<std::string>& args) {
    auto parsed = ParseCommandLine(args, kDefault);
    const auto* bad = std::get_if<UsageError>(&parsed);
    return bad != nullptr ? bad->message : std::string();
}

TEST(CommandLineTest, ServeHasLoopbackDefaults) {
    const auto invocation = Parse({"serve"});
    EXPECT_EQ(invocation.database, kDefault);
    const auto& serve = std::get<ladder::ServeCommand>(invocation.command);
    EXPECT_EQ(serve.address, "127.0.0.1");
    EXPECT_EQ(serve.port, 8642);
    EXPECT_EQ(serve.threads, 8);
}

TEST(CommandLineTest, OptionsTakeTheirValueEitherWayAndStandAnywhere) {
    const auto invocation = Parse(
        {"--database", "/tmp/a.db", "serve", "--address=0.0.0.0", "--port", "0", "--threads=2"});
    EXPECT_EQ(invocation.database, "/tmp/a.db");
    const auto& serve = std::get<ladder::ServeCommand>(invocation.command);
    EXPECT_EQ(serve.address, "0.0.0.0");
    EXPECT_EQ(serve.port, 0);
    EXPECT_EQ(serve.threads, 2);

    EXPECT_EQ(Parse({"user", "list", "--database=/tmp/b.db"}).database, "/tmp/b.db");
}

TEST(CommandLineTest, UserCommands) {
    const auto add = std::get<ladder::UserAddCommand>(
        Parse({"user", "add", "alice", "--enabled", "--email", "a@example.org"}).command);
    EXPECT_EQ(add.name, "alice");
    EXPECT_EQ(add.email, "a@example.org");
    EXPECT_TRUE(add.enabled);
    const auto plain = std::get<ladder::UserAddCommand>(Parse({"user", "add", "bob"}).command);
    EXPECT_EQ(plain.email, "");
    EXPECT_FALSE(plain.enabled);

    const auto enable =
        std::get<ladder::UserSetEnabledCommand>(Parse({"user", "enable", "bob"}).command);
    EXPECT_EQ(enable.name, "bob");
    EXPECT_TRUE(enable.enabled);
    EXPECT_FALSE(
        std::get<ladder::UserSetEnabledCommand>(Parse({"user", "disable", "bob"}).command).enabled);
    EXPECT_EQ(std::get<ladder::UserPasswdCommand>(Parse({"user", "passwd", "bob"}).command).name,
              "bob");
    EXPECT_TRUE(std::holds_alternative<ladder::UserListCommand>(Parse({"user", "list"}).command));
}

TEST(CommandLineTest, CopyNamesTheDatabaseItCopiesInto) {
    const auto invocation = Parse({"copy", "--to", "postgresql://ladder@db/ladder"});
    EXPECT_EQ(invocation.database, kDefault);
    EXPECT_EQ(std::get<ladder::CopyCommand>(invocation.command).to,
              "postgresql://ladder@db/ladder");
    EXPECT_EQ(Refusal({"copy"}), "\"copy\" needs --to TARGET, the database to copy into");
    EXPECT_EQ(Refusal({"copy", "--to", kDefault}),
              "\"copy\" copies into another database than --database");
    EXPECT_EQ(Refusal({"user", "list", "--to", "x.db"}), "\"user list\" takes no option --to");
}

TEST(CommandLineTest, VersionSetAndHelp) {
    const auto set = std::get<ladder::VersionSetCommand>(
        Parse({"version", "set", "1.2.0", "https://example.org/q.tar.gz"}).command);
    EXPECT_EQ(set.version, "1.2.0");
    EXPECT_EQ(set.download, "https://example.org/q.tar.gz");
    EXPECT_TRUE(std::holds_alternative<ladder::HelpCommand>(Parse({"--help"}).command));
    EXPECT_TRUE(std::holds_alternative<ladder::HelpCommand>(Parse({"user", "-h"}).command));
}

TEST(CommandLineTest, MistakesAreExplained) {
    EXPECT_EQ(Refusal({}), "no command given");
    EXPECT_NE(Refusal({"user"}).find("unknown command"), std::string::npos);
    EXPECT_NE(Refusal({"user", "add"}).find("wrong number of arguments"), std::string::npos);
    EXPECT_NE(Refusal({"user", "add", "a", "b"}).find("wrong number"), std::string::npos);
    EXPECT_NE(Refusal({"version", "set", "1.2.0"}).find("wrong number"), std::string::npos);
    EXPECT_EQ(Refusal({"serve", "--verbose"}), "unknown option --verbose");
    EXPECT_EQ(Refusal({"serve", "--port"}), "option --port needs a value");
    EXPECT_EQ(Refusal({"serve", "--port", "1", "--port", "2"}), "option --port given twice");
    EXPECT_EQ(Refusal({"user", "add", "a", "--enabled=yes"}), "option --enabled takes no value");
    EXPECT_EQ(Refusal({"user", "list", "--port", "1"}), "\"user list\" takes no option --port");
    EXPECT_EQ(Refusal({"serve", "--enabled"}), "\"serve\" takes no option --enabled");
    EXPECT_EQ(Refusal({"serve", "--database", ""}), "--database must not be empty");
    for (const char* port : {"-1", "65536", "80x", "", " 80"}) {
        SCOPED_TRACE(port);
        EXPECT_EQ(Refusal({"serve", "--port", port}), "--port must be a number from 0 to 65535");
    }
    EXPECT_EQ(Refusal({"serve", "--threads", "0"}), "--threads must be a number from 1 to 256");
}

// The configuration file and the environment, with the command line over both: each case is
// read against the files named, the default one being /etc/ladderd.conf.
TEST(CommandLineTest, ConfigurationFileAndEnvironmentGiveWayInTheirOrder) {
    const std::string kFile =
        "# a comment\ndatabase = /file.db\n[serve]\nport = 9000\nthreads = 4\n"
        "trusted-proxy = 127.0.0.1, ::1\nlog_file = \"/var/log/a b.log\"\n";
    struct Case {
        std::vector<std::string> args;
        std::string variable;                      // $QUILLMARK_LADDER_DATABASE
        std::map<std::string, std::string> files;  // path: text; others are missing
        std::string database;                      // expected, or
        std::string refusal;                       // the expected refusal
        int port = 0;
        int threads = 0;
    };
    const std::vector<Case> cases = {
        {{"serve", "--threads", "2"}, "", {{"/etc/ladderd.conf", kFile}}, "/file.db", "", 9000, 2},
        {{"serve"}, "/env.db", {{"/etc/ladderd.conf", kFile}}, "/env.db", "", 9000, 4},
        {{"serve", "--database=/cli.db", "--port", "1"},
         "/env.db",
         {{"/etc/ladderd.conf", kFile}},
         "/cli.db",
         "",
         1,
         4},
        {{"serve"}, "", {}, kDefault, "", 8642, 8},
        {{"serve", "--config", "/x.conf"},
         "",
         {{"/x.conf", "[serve]\nport=7"}},
         kDefault,
         "",
         7,
         8},
        {{"user", "list"}, "", {{"/etc/ladderd.conf", kFile}}, "/file.db", ""},
        {{"serve", "--config", "/missing.conf"},
         "",
         {},
         "",
         "cannot read the configuration file /missing.conf: No such file or directory"},
        {{"serve"},
         "",
         {{"/etc/ladderd.conf", "[serve]\nverbose = true\n"}},
         "",
         "/etc/ladderd.conf: unknown key \"serve.verbose\""},
        {{"user", "list"},
         "",
         {{"/etc/ladderd.conf", "[user]\nport = 1\n"}},
         "",
         "/etc/ladderd.conf: unknown key \"user.port\""},
        {{"serve"},
         "",
         {{"/etc/ladderd.conf", "[serve]\nport = 80x\n"}},
         "",
         "/etc/ladderd.conf: serve.port must be a number from 0 to 65535"},
        {{"serve", "--port", "80"},
         "",
         {{"/etc/ladderd.conf", "[serve]\nport = 80x\n"}},
         "",
         "/etc/ladderd.conf: serve.port must be a number from 0 to 65535"},
        {{"serve"},
         "",
         {{"/etc/ladderd.conf", "port = 80\n"}},
         "",
         "/etc/ladderd.conf: unknown key \"port\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const ladder::Surroundings surroundings{
            kDefault, c.variable, "/etc/ladderd.conf", [&c](const std::string& path) {
                const auto found = c.files.find(path);
                return found != c.files.end()
                           ? ladder::ConfigText{found->second, false, ""}
                           : ladder::ConfigText{std::nullopt, true, "No such file or directory"};
            }};
        auto parsed = ParseCommandLine(c.args, surroundings);
        if (!c.refusal.empty()) {
            const auto* bad = std::get_if<UsageError>(&parsed);
            EXPECT_EQ(bad != nullptr ? bad->message : "accepted", c.refusal);
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<Invocation>(parsed))
            << std::get<UsageError>(parsed).message;
        const auto& invocation = std::get<Invocation>(parsed);
        EXPECT_EQ(invocation.database, c.database);
        if (const auto* serve = std::get_if<ladder::ServeCommand>(&invocation.command)) {
            EXPECT_EQ(serve->port, c.port);
            EXPECT_EQ(serve->threads, c.threads);
            if (c.files.count("/etc/ladderd.conf") != 0) {
                EXPECT_EQ(serve->trustedProxies, (std::vector<std::string>{"127.0.0.1", "::1"}));
                EXPECT_EQ(serve->logFile, "/var/log/a b.log");
            }
        }
    }
}

TEST(CommandLineTest, DefaultDatabaseFollowsTheXdgDataFolder) {
    EXPECT_EQ(ladder::DefaultDatabasePath("/x/data", "/home/a"), "/x/data/quillmark/ladder.db");
    EXPECT_EQ(ladder::DefaultDatabasePath("", "/home/a"),
              "/home/a/.local/share/quillmark/ladder.db");
    EXPECT_EQ(ladder::DefaultDatabasePath(nullptr, "/home/a"),
              "/home/a/.local/share/quillmark/ladder.db");
    EXPECT_EQ(ladder::DefaultDatabasePath(nullptr, nullptr), "ladder.db");
}

}  // namespace
