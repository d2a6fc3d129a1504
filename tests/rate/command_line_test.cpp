// Reading quillmark-rate's command line.

#include "rate/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rate {
namespace {

struct Case {
    std::vector<std::string> args;
    // What it reads as: "rate" with files and threads, "help", "version", or "error".
    std::string kind;
    std::vector<std::string> files = {};
    int threads = 0;
};

TEST(RateCommandLineTest, ReadsEachForm) {
    const std::vector<Case> cases = {
        {{}, "rate"},
        {{"a.txt", "-", "b.txt"}, "rate", {"a.txt", "-", "b.txt"}},
        {{"-j", "2", "a.txt"}, "rate", {"a.txt"}, 2},
        {{"a.txt", "-j3"}, "rate", {"a.txt"}, 3},
        {{"--jobs", "4"}, "rate", {}, 4},
        {{"--jobs=256"}, "rate", {}, 256},
        {{"--", "-j", "--help"}, "rate", {"-j", "--help"}},
        {{"a.txt", "--help"}, "help"},
        {{"-h"}, "help"},
        {{"--version", "--help"}, "version"},
        {{"-j"}, "error"},
        {{"-j", "0"}, "error"},
        {{"-j", "257"}, "error"},
        {{"-j", "two"}, "error"},
        {{"-j2x"}, "error"},
        {{"--jobs="}, "error"},
        {{"--fast"}, "error"},
        {{"-x", "--help"}, "error"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& arg : c.args) {
            shown += "'" + arg + "' ";
        }
        SCOPED_TRACE(shown);
        auto parsed = ParseCommandLine(c.args);
        if (c.kind == "error") {
            ASSERT_TRUE(std::holds_alternative<UsageError>(parsed));
            EXPECT_FALSE(std::get<UsageError>(parsed).message.empty());
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<Command>(parsed));
        const Command& command = std::get<Command>(parsed);
        if (c.kind == "help") {
            EXPECT_TRUE(std::holds_alternative<HelpCommand>(command));
        } else if (c.kind == "version") {
            EXPECT_TRUE(std::holds_alternative<VersionCommand>(command));
        } else {
            ASSERT_TRUE(std::holds_alternative<RateCommand>(command));
            EXPECT_EQ(std::get<RateCommand>(command).files, c.files);
            EXPECT_EQ(std::get<RateCommand>(command).threads, c.threads);
        }
    }
}

}  // namespace
}  // namespace rate
