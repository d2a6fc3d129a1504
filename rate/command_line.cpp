#include "rate/command_line.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace rate {

namespace {

std::optional<int> ThreadCount(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < 1 || value > kMaxThreads) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::variant<Command, UsageError> ParseCommandLine(const std::vector<std::string>& args) {
    RateCommand rate;
    std::optional<Command> asked;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            rate.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            asked = asked.value_or(HelpCommand{});
        } else if (arg == "--version") {
            asked = asked.value_or(VersionCommand{});
        } else if (arg == "-j" || arg == "--jobs" || arg.starts_with("--jobs=") ||
                   (arg.starts_with("-j") && !arg.starts_with("--"))) {
            std::string_view value;
            if (arg == "-j" || arg == "--jobs") {
                if (i + 1 == args.size()) {
                    return UsageError{"option " + arg + " needs a number of threads"};
                }
                value = args[++i];
            } else {
                value = std::string_view(arg).substr(arg.starts_with("--") ? 7 : 2);
            }
            auto threads = ThreadCount(value);
            if (!threads) {
                return UsageError{"the number of threads must be 1 to " +
                                  std::to_string(kMaxThreads) + ", not '" + std::string(value) +
                                  "'"};
            }
            rate.threads = *threads;
        } else {
            return UsageError{"unknown option '" + arg + "'"};
        }
    }
    if (asked) {
        return *asked;
    }
    return Command{rate};
}

std::string UsageText() {
    return R"(Usage: quillmark-rate [-j N] [FILE...]
Rates Sudoku puzzles on Sudoku Explainer's scale, as a person would solve them.

Reads the FILEs in turn, or standard input when none is named or for "-": one puzzle a
line, its first 81 characters row by row, 1-9 a given and "." or "0" a blank; the rest of
the line is ignored. Prints one line per input line, in the input's order:
  PUZZLE RATING TECHNIQUE   for instance "...1.5.. 7.2 Forcing Chain", the hardest step
  LINE - REASON             no puzzle, breaks the rules, no solution, several solutions,
                            beyond the rater

  -j, --jobs N   rate on N threads (1 to 256; default one per core)
  -h, --help     print this help
      --version  print the version

Exit status: 0 when every input was read; 1 when a FILE could not be read (it is named on
standard error, and the others are still rated); 2 for a wrong command line.
)";
}

}  // namespace rate
