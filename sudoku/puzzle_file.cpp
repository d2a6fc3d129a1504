#include "sudoku/puzzle_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
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

// Where a save goes: the file path names, at the end of any chain of symbolic links, so
// the links stay links. mode is the permissions of the file it replaces, none for a new file.
struct SaveTarget {
    std::filesystem::path path;
    std::optional<mode_t> mode;
};

// As many links as Linux itself follows before giving up with ELOOP.
constexpr int kMostLinksFollowed = 40;

// Nothing when path cannot be saved to: the file there (after links) is no regular file, a
// link cannot be followed, or path has no file name.
std::optional<SaveTarget> FindSaveTarget(std::filesystem::path path) {
    for (int links = 0; links <= kMostLinksFollowed; ++links) {
        if (!path.has_filename()) {
            return std::nullopt;
        }
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0) {
            if (errno == ENOENT) {
                return SaveTarget{std::move(path), std::nullopt};
            }
            return std::nullopt;
        }
        if (S_ISREG(info.st_mode)) {
            return SaveTarget{std::move(path), info.st_mode & 0777};
        }
        if (!S_ISLNK(info.st_mode)) {
            return std::nullopt;
        }
        std::error_code error;
        std::filesystem::path next = std::filesystem::read_symlink(path, error);
        if (error) {
            return std::nullopt;
        }
        // A relative link is relative to the folder holding it.
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return std::nullopt;
}

// The temporary's name adds seven characters to the target's; a name near the file system's
// limit of 255 bytes is shortened for it so that the target can still be saved.
constexpr std::size_t kLongestStem = 200;

// A file of a fresh name that is removed again unless it replaces its target.
class TemporaryFile {
public:
    // A new file named prefix followed by "." and six random letters and digits, opened for
    // writing with the permissions mode less the umask.
    static std::optional<TemporaryFile> Create(const std::string& prefix, mode_t mode) {
        static std::atomic<std::uint64_t> calls{0};
        std::uint64_t state = static_cast<std::uint64_t>(
                                  std::chrono::steady_clock::now().time_since_epoch().count()) ^
                              (static_cast<std::uint64_t>(getpid()) << 40) ^
                              (calls++ * 0x9E3779B97F4A7C15u);
        constexpr std::string_view kLetters =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = prefix + ".";
            for (int i = 0; i < 6; ++i) {
                state = state * 6364136223846793005u + 1442695040888963407u;
                name.push_back(kLetters[(state >> 33) % kLetters.size()]);
            }
            int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd >= 0) {
                return std::optional<TemporaryFile>(std::in_place, std::move(name), fd);
            }
            if (errno != EEXIST) {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    TemporaryFile(std::string name, int fd) : name_(std::move(name)), file_(fd) {}
    ~TemporaryFile() {
        file_.Close();
        if (!name_.empty()) {
            unlink(name_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int Get() const { return file_.Get(); }

    // Writes text and makes sure it is on disk before the file can take the target's place.
    bool Write(std::string_view text) {
        while (!text.empty()) {
            ssize_t n = write(file_.Get(), text.data(), text.size());
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            text.remove_prefix(static_cast<std::size_t>(n));
        }
        return fsync(file_.Get()) == 0 && file_.Close();
    }

    // Renames the file over target; afterwards there is nothing left to remove.
    bool Replace(const std::string& target) {
        if (std::rename(name_.c_str(), target.c_str()) != 0) {
            return false;
        }
        name_.clear();
        return true;
    }

private:
    std::string name_;
    Descriptor file_;
};

// Makes a rename in folder last through a crash as well; a file system that cannot sync a
// folder still has the file whole, so failing here fails nothing.
void SyncFolder(const std::filesystem::path& folder) {
    Descriptor dir(open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.IsOpen()) {
        fsync(dir.Get());
    }
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
    if (!IsWholePath(path)) {
        return FileError::CannotOpen;
    }
    if (!IsReadable(grid)) {
        return FileError::BadContent;
    }
    std::optional<SaveTarget> target = FindSaveTarget(path);
    if (!target) {
        return FileError::CannotOpen;
    }
    // Beside the target, so the rename stays within one file system and is atomic.
    std::filesystem::path folder = target->path.parent_path();
    std::string stem = target->path.filename().string();
    stem.resize(std::min(stem.size(), kLongestStem));
    // A replaced file's mode is set before anything is written, so its content is never open
    // to more people than it was; a new file's mode comes from the umask through open().
    const mode_t createMode = target->mode ? S_IRUSR | S_IWUSR : 0666;
    std::optional<TemporaryFile> temporary =
        TemporaryFile::Create((folder / stem).string(), createMode);
    if (!temporary) {
        return FileError::CannotOpen;
    }
    if (target->mode) {
        // A file system without permissions (FAT) refuses this; the temporary's owner-only
        // mode then errs on the side of showing the puzzle to fewer people, not more.
        (void)fchmod(temporary->Get(), *target->mode);
    }
    if (!temporary->Write(FormatPuzzleFile(grid)) || !temporary->Replace(target->path.string())) {
        return FileError::CannotOpen;
    }
    SyncFolder(folder);
    return std::nullopt;
}

}  // namespace sudoku
