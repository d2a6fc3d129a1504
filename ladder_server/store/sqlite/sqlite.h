#pragma once

// Small RAII wrappers over the SQLite C interface. None can be copied or moved: each owns a
// handle whose lifetime the code around it states. Errors throw sqlite::Error.

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

class Statement;
class Query;

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

    // Names sql for Run, which prepares it on first use and keeps it; sql must outlive the
    // connection (a literal). First use, since the tables it names may be made after this.
    void Prepare(std::string_view name, std::string_view sql);
    // The statement prepared as name, bound to args in order (?1, ?2, ...): integers, bools
    // (as 0 or 1), texts, optional integers (null when empty). Throws Error for an unknown
    // name.
    template <class... Args>
    Query Run(std::string_view name, const Args&... args);

private:
    Statement& Prepared(std::string_view name);

    sqlite3* handle_ = nullptr;
    struct Named {
        std::string_view name;
        std::string_view sql;
        std::unique_ptr<Statement> statement;  // once used
    };
    std::vector<Named> prepared_;
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
    // Without it a literal would bind as a bool, a pointer's standard conversion.
    Statement& Bind(int index, const char* text) { return Bind(index, std::string_view(text)); }
    Statement& Bind(int index, bool value) { return Bind(index, std::int64_t{value ? 1 : 0}); }
    Statement& Bind(int index, std::optional<std::int64_t> value) {
        return value ? Bind(index, *value) : BindNull(index);
    }
    Statement& BindNull(int index);

    // Advances to the next row: true while there is one, false when the statement is done.
    bool Step();
    // Steps a statement that yields no rows (INSERT, UPDATE, ...) to its end.
    void Run();
    // Makes the statement ready to step again from the start; bindings stay.
    void Reset();
    // Sets every parameter back to null.
    void ClearBindings();

    bool IsNull(int column) const;
    std::int64_t Int(int column) const;
    std::string Text(int column) const;

private:
    Connection& connection_;
    sqlite3_stmt* handle_ = nullptr;
};

// A prepared statement run through Connection::Run: reset when the query goes, so no
// statement of the pool keeps a read snapshot open between calls.
class Query {
public:
    explicit Query(Statement& statement) : statement_(&statement) {}
    ~Query() {
        if (statement_ != nullptr) {
            statement_->Reset();
        }
    }
    Query(Query&& other) noexcept : statement_(std::exchange(other.statement_, nullptr)) {}
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    Query& operator=(Query&&) = delete;

    Statement& operator*() const { return *statement_; }
    Statement* operator->() const { return statement_; }

private:
    Statement* statement_;
};

template <class... Args>
Query Connection::Run(std::string_view name, const Args&... args) {
    Statement& statement = Prepared(name);
    Query query(statement);
    int index = 0;
    (statement.Bind(++index, args), ...);
    return query;
}

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
