// The built quillmark-rate run as a user runs it: on files and standard input, with bad
// lines, with several threads, with a file missing and with wrong options.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "rate/rate_line.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const fs::path kData = QUILLMARK_RATE_DATA_DIR;

struct Finished {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Runs the program with args and input on its standard input, through files, so a large
// output never blocks it; the test's time limit bounds a program that would hang.
Finished RunRater(const std::vector<std::string>& args, const std::string& input = "") {
    static int runs = 0;
    const fs::path base = fs::path(testing::TempDir()) /
                          ("rate_run_" + std::to_string(getpid()) + "_" + std::to_string(runs++));
    const std::string in = base.string() + ".in", out = base.string() + ".out",
                      err = base.string() + ".err";
    std::ofstream(in, std::ios::binary) << input;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> argvText = {QUILLMARK_RATE};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argvText) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    Finished run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        ADD_FAILURE() << "cannot start " << QUILLMARK_RATE;
        posix_spawn_file_actions_destroy(&actions);
        return run;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile(out);
    run.err = ReadFile(err);
    for (const std::string& file : {in, out, err}) {
        fs::remove(file);
    }
    return run;
}

// lines.txt holds a line of each kind: puzzles with a comment after them, with "0" blanks
// and a CR LF ending; several solutions, none, broken rules; empty, short and long lines
// that are no puzzle. lines_rated.txt is what the program prints for it.
TEST(RateProgramTest, RatesFilesAndStandardInputAlike) {
    const std::string input = ReadFile(kData / "lines.txt");
    const std::string expected = ReadFile(kData / "lines_rated.txt");
    ASSERT_FALSE(expected.empty());

    const Finished fromFile = RunRater({(kData / "lines.txt").string()});
    EXPECT_EQ(fromFile.exitCode, 0) << fromFile.err;
    EXPECT_EQ(fromFile.out, expected);
    EXPECT_EQ(fromFile.err, "");

    // Standard input, its last line without a line end.
    const Finished fromInput = RunRater({}, input.substr(0, input.size() - 1));
    EXPECT_EQ(fromInput.exitCode, 0) << fromInput.err;
    EXPECT_EQ(fromInput.out, expected);

    // "-" reads standard input among files.
    const Finished mixed = RunRater({"-j", "2", "-", (kData / "lines.txt").string()}, input);
    EXPECT_EQ(mixed.exitCode, 0) << mixed.err;
    EXPECT_EQ(mixed.out, expected + expected);
}

// A few hundred different puzzles of every kind, from the committed samples of the public
// sets: two threads print them in the input's order, as one thread does.
TEST(RateProgramTest, KeepsTheInputsOrderOnTwoThreads) {
    std::string input;
    for (const char* set : {"17_clue.txt", "serg_benchmark_multisolution.txt",
                            "sudoku_exchange_easy_500_with_solutions.txt",
                            "sudoku_exchange_medium_500_with_solutions.txt",
                            "sudoku_exchange_hard_500_with_solutions.txt",
                            "sudoku_exchange_diabolical_500_with_solutions.txt"}) {
        input += ReadFile(fs::path(QUILLMARK_PUZZLE_SAMPLE_DIR) / set);
        input += ReadFile(kData / "lines.txt");
    }
    const std::vector<std::string> inputLines = Lines(input);
    ASSERT_GT(inputLines.size(), 250u);

    const Finished two = RunRater({"-j", "2"}, input);
    EXPECT_EQ(two.exitCode, 0) << two.err;
    const std::vector<std::string> printed = Lines(two.out);
    ASSERT_EQ(printed.size(), inputLines.size());
    for (std::size_t i = 0; i < printed.size(); ++i) {
        const std::string shown = rate::ReadPuzzleLine(inputLines[i]).shown + " ";
        ASSERT_EQ(printed[i].substr(0, shown.size()), shown) << "line " << i + 1;
    }
    EXPECT_EQ(RunRater({"-j", "1"}, input).out, two.out);
}

TEST(RateProgramTest, NamesAMissingFileAndRatesTheOthers) {
    const std::string missing = (fs::path(testing::TempDir()) / "no_such_puzzles.txt").string();
    const Finished run = RunRater({missing, (kData / "lines.txt").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot read " + missing), std::string::npos) << run.err;
    EXPECT_EQ(run.out, ReadFile(kData / "lines_rated.txt"));

    const Finished folder = RunRater({kData.string()});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_NE(folder.err.find("cannot read " + kData.string()), std::string::npos) << folder.err;
}

TEST(RateProgramTest, AnswersHelpVersionAndWrongOptions) {
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string out;  // the start of standard output
        std::string err;  // a part of standard error
    };
    const Case cases[] = {
        {{"--help"}, 0, "Usage: quillmark-rate", ""},
        {{"--version"}, 0, "quillmark-rate " QUILLMARK_VERSION "\n", ""},
        {{"--fast"}, 2, "", "unknown option '--fast'"},
        {{"-j", "0"}, 2, "", "Usage: quillmark-rate"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        const Finished run = RunRater(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.out.substr(0, c.out.size()), c.out);
        if (c.out.empty()) {
            EXPECT_EQ(run.out, "");
        }
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
}

}  // namespace
