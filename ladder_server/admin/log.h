#pragma once

// The log of quillmark-ladderd and its commands: lines with syslog's priorities, on standard
// error or appended to a file.

#include <mutex>
#include <ostream>
#include <string>
#include <string_view>

namespace ladder {

// syslog's numbers, which journald reads from a line's "<N>" prefix.
enum class Priority { Error = 3, Warning = 4, Notice = 5, Info = 6 };

// Whether fd is the journal's stream: systemd sets $JOURNAL_STREAM to "DEVICE:INODE" of the
// stream it gives a service. Null or unparsable text, or another file, is not.
bool IsJournalStream(const char* journalStream, int fd);

// Lines "quillmark-ladderd: MESSAGE", each written whole, from any thread. A message of
// several lines gets the program's name on its first only.
class Log {
public:
    // Writes to stream; with journal set each line starts "<N>", N the priority, as
    // sd-daemon(3) has it, and is otherwise what a terminal sees.
    Log(std::ostream& stream, bool journal);
    ~Log();
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    // From now on appends to the file at path (made if missing) instead, each line after
    // the local time. False when it cannot be opened, with the reason in problem; the log
    // then stays where it was.
    bool OpenFile(const std::string& path, std::string& problem);
    // Opens the file anew by its path, so that lines go to a new file after logrotate moved
    // the old one away. False when that fails, with the reason in problem; the lines then
    // go on into the file opened before. Nothing and true without a file.
    bool Reopen(std::string& problem);
    // The path given to OpenFile; empty while the log goes to the stream.
    std::string FilePath() const;

    void Write(Priority priority, std::string_view message);
    void Error(std::string_view message) { Write(Priority::Error, message); }
    void Warning(std::string_view message) { Write(Priority::Warning, message); }
    void Notice(std::string_view message) { Write(Priority::Notice, message); }
    void Info(std::string_view message) { Write(Priority::Info, message); }

private:
    mutable std::mutex mutex_;
    std::ostream& stream_;
    bool journal_;
    std::string path_;
    int fd_ = -1;
};

}  // namespace ladder
