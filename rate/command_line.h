#pragma once

// The command line of quillmark-rate, read into a value; no side effects in here.

#include <string>
#include <variant>
#include <vector>

namespace rate {

// The most worker threads -j takes.
inline constexpr int kMaxThreads = 256;

struct RateCommand {
    // The files to read in turn; "-" is standard input. Empty: standard input alone.
    std::vector<std::string> files;
    // 1 to kMaxThreads; 0 for one per core.
    int threads = 0;
};
struct HelpCommand {};
struct VersionCommand {};

using Command = std::variant<RateCommand, HelpCommand, VersionCommand>;

struct UsageError {
    std::string message;
};

// args without the program name. "-j N", "-jN", "--jobs N" and "--jobs=N" set the threads;
// --help (-h) and --version anywhere win over everything else but an earlier error; "--"
// makes every later argument a file name.
std::variant<Command, UsageError> ParseCommandLine(const std::vector<std::string>& args);

// The text --help prints.
std::string UsageText();

}  // namespace rate
