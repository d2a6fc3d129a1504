#pragma once

// Small RAII wrappers over the SQLite C interface. None can be copied or moved: each owns a
// handle whose lifetime the code around it states. Errors throw sqlite::Error.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace ladder::sqlite {

class Error : public std::runtime_error {
public:
    Error(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    // The SQLite result code (SQLITE_BUSY, SQLITE_CONSTRAINT, ...), extended where known.
    int Code() const { return code_; }

private:
    int code_;
};

// One open database connection, used by one thread at a time.
class Connection {
public:
    // Opens the file read-write, creating it when missing; ":memory:" opens a private
    // in-memory database. Waits up to busyTimeoutMs for another connection's lock.
    explicit Connection(const std::string& path, int busyTimeoutMs = 5000);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Runs one or more statements that take no parameters; any rows they yield are dropped.
    void Execute(const char* sql);

    // Rows changed by the last INSERT, UPDATE or DELETE on this connection.
    int Changes() const;

    sqlite3* Handle() const { return handle_; }

private:
    sqlite3* handle_ = nullptr;
};

// One prepared statement. Parameters are numbered from 1, result columns from 0, as in SQLite.
class Statement {
public:
    Statement(Connection& connection, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, std::int64_t value);
    Statement& Bind(int index, std::string_view text);
    Statement& BindNull(int index);

    // Advances to the next row: true while there is one, false when the statement is done.
    bool Step();
    // Steps a statement that yields no rows (INSERT, UPDATE, ...) to its end.
    void Run();
    // Makes the statement ready to step again from the start; bindings stay.
    void Reset();

    bool IsNull(int column) const;
    std::int64_t Int(int column) const;
    std::string Text(int column) const;

private:
    Connection& connection_;
    sqlite3_stmt* handle_ = nullptr;
};

// A transaction that begins when made and rolls back when destroyed, unless committed first.
class Transaction {
public:
    // Immediate takes the write lock at once, so two writers never deadlock on an upgrade;
    // Deferred suits transactions that only read.
    enum class Mode { Deferred, Immediate };

    explicit Transaction(Connection& connection, Mode mode = Mode::Immediate);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Commit();

private:
    Connection& connection_;
    bool open_ = true;
};

}  // namespace ladder::sqlite
