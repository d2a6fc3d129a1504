#include "sudoku/puzzle_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

namespace sudoku {

namespace {

// An open file descriptor, closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Get() const { return fd_; }
    // Closes now, for callers that must know whether the last writes reached the file.
    bool Close() {
        int fd = std::exchange(fd_, -1);
        return fd < 0 || close(fd) == 0;
    }

private:
    int fd_;
};

// The system's calls take the path as a C string, which would end at a NUL and so name
// another file than the one asked for.
bool IsWholePath(const std::string& path) {
    return path.find('\0') == std::string::npos;
}

bool IsMissing(int error) {
    return error == ENOENT || error == ENOTDIR;
}

bool IsCellCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '|' || c == '-' || c == '+';
}

bool IsReadable(const Grid& grid) {
    return FollowsTheRules(grid) && FilledCount(grid) >= kMinimumGivens;
}

std::vector<std::string_view> ContentLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#') {
            continue;
        }
        lines.push_back(line.substr(first));
    }
    return lines;
}

// One line holding the whole puzzle: its first word is 81 cell characters.
std::optional<Grid> ReadSingleLine(std::string_view line) {
    std::string_view word = line.substr(0, line.find_first_of(" \t"));
    if (word.size() != kCellCount) {
        return std::nullopt;
    }
    return ParseLine(word);
}

// The cells of every line, read in order, separators skipped.
std::optional<Grid> ReadCellsOfLines(const std::vector<std::string_view>& lines) {
    std::string cells;
    for (std::string_view line : lines) {
        for (char c : line) {
            if (IsCellCharacter(c)) {
                cells.push_back(c);
            } else if (!IsSeparator(c)) {
                return std::nullopt;
            }
            if (cells.size() > kCellCount) {
                return std::nullopt;
            }
        }
    }
    if (cells.size() != kCellCount) {
        return std::nullopt;
    }
    return ParseLine(cells);
}

mode_t NewFileMode() {
    // The mode a newly created file gets from the process's umask.
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

std::string FormatPuzzleFile(const Grid& grid) {
    std::string text =
        "# Quillmark puzzle\n"
        "# Nine rows of nine cells, top row first; \".\" is an empty cell.\n";
    std::string line = FormatLine(grid, '.');
    for (int row = 0; row < kSize; ++row) {
        text.append(line, row * kSize, kSize);
        text.push_back('\n');
    }
    return text;
}

std::variant<Grid, FileError> ParsePuzzleFile(std::string_view text) {
    // Some Windows editors put a byte-order mark before UTF-8 text; it would otherwise spoil
    // the first line, so a one-line puzzle or a leading comment would no longer read.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    std::vector<std::string_view> lines = ContentLines(text);
    if (lines.empty()) {
        return FileError::BadContent;
    }
    std::optional<Grid> grid = ReadSingleLine(lines.front());
    if (!grid) {
        grid = ReadCellsOfLines(lines);
    }
    if (!grid || !IsReadable(*grid)) {
        return FileError::BadContent;
    }
    return *grid;
}

std::variant<Grid, FileError> ReadPuzzleFile(const std::string& path) {
    if (!IsWholePath(path)) {
        return FileError::CannotOpen;
    }
    // Looked at before opening so that a device is never opened at all, and again after, on
    // the descriptor, in case something else took the file's place in between.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return IsMissing(errno) ? FileError::Missing : FileError::CannotOpen;
    }
    if (!S_ISREG(info.st_mode)) {
        return FileError::CannotOpen;
    }
    // Non-blocking, so a FIFO swapped in after the check cannot hold the open up waiting for a
    // writer; it makes no difference to reading a regular file.
    Descriptor file(open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!file.IsOpen()) {
        return IsMissing(errno) ? FileError::Missing : FileError::CannotOpen;
    }
    if (fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return FileError::CannotOpen;
    }
    // One byte past the cap tells a file at the cap from a larger one.
    std::string text(kLargestPuzzleFile + 1, '\0');
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = read(file.Get(), text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return FileError::CannotOpen;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (done > kLargestPuzzleFile) {
        return FileError::BadContent;
    }
    text.resize(done);
    return ParsePuzzleFile(text);
}

std::optional<FileError> WritePuzzleFile(const std::string& path, const Grid& grid) {
    if (!IsReadable(grid)) {
        return FileError::BadContent;
    }
    const std::string text = FormatPuzzleFile(grid);
    std::string temporary = path + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) {
        return FileError::CannotOpen;
    }
    bool written = fchmod(fd, NewFileMode()) == 0;
    std::size_t done = 0;
    while (written && done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        written = n > 0;
        done += written ? static_cast<std::size_t>(n) : 0;
    }
    written = fsync(fd) == 0 && written;
    written = close(fd) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return FileError::CannotOpen;
    }
    return std::nullopt;
}

}  // namespace sudoku
