// quillmark-rate: rates Sudoku puzzles on Sudoku Explainer's scale. See UsageText().

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "rate/command_line.h"
#include "rate/rate_stream.h"

#ifndef QUILLMARK_VERSION
#error "QUILLMARK_VERSION must name the version"
#endif

namespace {

// The lines of each file in turn, standard input for "-". A file that cannot be read is
// named on standard error and passed over; unreadable() says whether any was.
class Inputs {
public:
    explicit Inputs(std::vector<std::string> files) : files_(std::move(files)) {
        if (files_.empty()) {
            files_.push_back("-");
        }
    }

    bool Next(std::string& line) {
        while (true) {
            if (current_ != nullptr && rate::ReadLineStart(*current_, line)) {
                return true;
            }
            if (!Open()) {
                return false;
            }
        }
    }

    bool Unreadable() const { return unreadable_; }

private:
    // Opens the next readable file; false when none is left.
    bool Open() {
        current_ = nullptr;
        file_.close();
        while (index_ < files_.size()) {
            const std::string& name = files_[index_++];
            if (name == "-") {
                current_ = &std::cin;
                return true;
            }
            std::error_code error;
            if (std::filesystem::is_directory(name, error)) {
                Refuse(name, std::strerror(EISDIR));
                continue;
            }
            file_.clear();
            file_.open(name, std::ios::binary);
            if (file_) {
                current_ = &file_;
                return true;
            }
            Refuse(name, std::strerror(errno));
        }
        return false;
    }

    void Refuse(const std::string& name, const char* why) {
        std::cerr << "quillmark-rate: cannot read " << name << ": " << why << '\n';
        unreadable_ = true;
    }

    std::vector<std::string> files_;
    std::size_t index_ = 0;
    std::ifstream file_;
    std::istream* current_ = nullptr;
    bool unreadable_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    auto parsed = rate::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto* bad = std::get_if<rate::UsageError>(&parsed)) {
        std::cerr << "quillmark-rate: " << bad->message << "\n\n" << rate::UsageText();
        return 2;
    }
    const auto& command = std::get<rate::Command>(parsed);
    if (std::holds_alternative<rate::HelpCommand>(command)) {
        std::cout << rate::UsageText();
        return 0;
    }
    if (std::holds_alternative<rate::VersionCommand>(command)) {
        std::cout << "quillmark-rate " QUILLMARK_VERSION "\n";
        return 0;
    }
    const auto& rateCommand = std::get<rate::RateCommand>(command);
    int threads = rateCommand.threads;
    if (threads == 0) {
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    }
    Inputs inputs(rateCommand.files);
    rate::RateLines([&](std::string& line) { return inputs.Next(line); }, std::cout, threads);
    return inputs.Unreadable() || !std::cout ? 1 : 0;
}
