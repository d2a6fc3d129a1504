#include "ladder_server/admin/log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace ladder {

namespace {

constexpr std::string_view kProgram = "quillmark-ladderd: ";

int OpenForAppending(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0640);
}

// "2026-12-08 14:03:07 " in local time.
std::string LocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S ", &local);
    return std::string(text, length);
}

}  // namespace

bool IsJournalStream(const char* journalStream, int fd) {
    if (journalStream == nullptr) {
        return false;
    }
    unsigned long long device = 0;
    unsigned long long inode = 0;
    char end = '\0';
    if (std::sscanf(journalStream, "%llu:%llu%c", &device, &inode, &end) != 2) {
        return false;
    }
    struct stat status {};
    return fstat(fd, &status) == 0 && status.st_dev == device && status.st_ino == inode;
}

Log::Log(std::ostream& stream, bool journal) : stream_(stream), journal_(journal) {}

Log::~Log() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

bool Log::OpenFile(const std::string& path, std::string& problem) {
    const int fd = OpenForAppending(path);
    if (fd < 0) {
        problem = std::strerror(errno);
        return false;
    }
    std::lock_guard lock(mutex_);
    if (fd_ >= 0) {
        close(fd_);
    }
    fd_ = fd;
    path_ = path;
    return true;
}

bool Log::Reopen(std::string& problem) {
    const std::string path = FilePath();
    return path.empty() || OpenFile(path, problem);
}

std::string Log::FilePath() const {
    std::lock_guard lock(mutex_);
    return path_;
}

void Log::Write(Priority priority, std::string_view message) {
    std::lock_guard lock(mutex_);
    // Priorities are one digit, so the mark is three characters.
    char mark[4] = {'<', static_cast<char>('0' + static_cast<int>(priority)), '>', '\0'};
    if (fd_ >= 0 || !journal_) {
        mark[0] = '\0';
    }
    std::string text = fd_ >= 0 ? LocalTime() : std::string();
    text.append(mark).append(kProgram);
    for (std::size_t start = 0; start <= message.size();) {
        const std::size_t end = std::min(message.find('\n', start), message.size());
        text.append(message.substr(start, end - start)).push_back('\n');
        start = end + 1;
        if (start < message.size()) {
            text += mark;
        }
    }
    if (fd_ < 0) {
        stream_ << text << std::flush;
        return;
    }
    // One write for the whole text: O_APPEND keeps a line from interleaving with another
    // writer's, such as a second instance logging into the same file.
    for (std::string_view rest = text; !rest.empty();) {
        const ssize_t written = write(fd_, rest.data(), rest.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            break;  // a full disk loses log lines, not the server
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
}

}  // namespace ladder
