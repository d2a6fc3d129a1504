#include "ladder_server/store/sqlite/sqlite.h"

#include <sqlite3.h>

#include <limits>

namespace ladder::sqlite {

namespace {

[[noreturn]] void Throw(sqlite3* handle, int code, std::string_view what) {
    std::string message(what);
    message += ": ";
    message += handle != nullptr ? sqlite3_errmsg(handle) : sqlite3_errstr(code);
    throw Error(handle != nullptr ? sqlite3_extended_errcode(handle) : code, message);
}

}  // namespace

Connection::Connection(const std::string& path, int busyTimeoutMs) {
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    const int code = sqlite3_open_v2(path.c_str(), &handle_, flags, nullptr);
    if (code != SQLITE_OK) {
        const std::string message =
            "cannot open database " + path + ": " +
            (handle_ != nullptr ? sqlite3_errmsg(handle_) : sqlite3_errstr(code));
        sqlite3_close(handle_);
        throw Error(code, message);
    }
    sqlite3_extended_result_codes(handle_, 1);
    sqlite3_busy_timeout(handle_, busyTimeoutMs);
}

Connection::~Connection() {
    // Every Statement is finalized before its Connection goes, so close cannot be refused.
    prepared_.clear();
    sqlite3_close(handle_);
}

void Connection::Prepare(std::string_view name, std::string_view sql) {
    prepared_.push_back(Named{name, sql, nullptr});
}

Statement& Connection::Prepared(std::string_view name) {
    for (Named& named : prepared_) {
        if (named.name == name) {
            if (named.statement == nullptr) {
                named.statement = std::make_unique<Statement>(*this, named.sql);
            }
            named.statement->ClearBindings();
            return *named.statement;
        }
    }
    throw Error(SQLITE_MISUSE, "no statement prepared as " + std::string(name));
}

void Connection::Execute(const char* sql) {
    char* error = nullptr;
    const int code = sqlite3_exec(handle_, sql, nullptr, nullptr, &error);
    if (code != SQLITE_OK) {
        std::string message = error != nullptr ? error : sqlite3_errstr(code);
        sqlite3_free(error);
        throw Error(sqlite3_extended_errcode(handle_), message);
    }
}

int Connection::Changes() const {
    return sqlite3_changes(handle_);
}

Statement::Statement(Connection& connection, std::string_view sql) : connection_(connection) {
    if (sql.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw Error(SQLITE_TOOBIG, "statement too long");
    }
    const int code = sqlite3_prepare_v2(connection.Handle(), sql.data(),
                                        static_cast<int>(sql.size()), &handle_, nullptr);
    if (code != SQLITE_OK) {
        Throw(connection.Handle(), code, "cannot prepare statement");
    }
}

Statement::~Statement() {
    sqlite3_finalize(handle_);
}

Statement& Statement::Bind(int index, std::int64_t value) {
    const int code = sqlite3_bind_int64(handle_, index, value);
    if (code != SQLITE_OK) {
        Throw(connection_.Handle(), code, "cannot bind parameter");
    }
    return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw Error(SQLITE_TOOBIG, "text too long");
    }
    const int code = sqlite3_bind_text(handle_, index, text.data(), static_cast<int>(text.size()),
                                       SQLITE_TRANSIENT);
    if (code != SQLITE_OK) {
        Throw(connection_.Handle(), code, "cannot bind parameter");
    }
    return *this;
}

Statement& Statement::BindNull(int index) {
    const int code = sqlite3_bind_null(handle_, index);
    if (code != SQLITE_OK) {
        Throw(connection_.Handle(), code, "cannot bind parameter");
    }
    return *this;
}

bool Statement::Step() {
    const int code = sqlite3_step(handle_);
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code == SQLITE_DONE) {
        return false;
    }
    Throw(connection_.Handle(), code, "statement failed");
}

void Statement::Run() {
    while (Step()) {
    }
}

void Statement::Reset() {
    sqlite3_reset(handle_);
}

void Statement::ClearBindings() {
    sqlite3_clear_bindings(handle_);
}

bool Statement::IsNull(int column) const {
    return sqlite3_column_type(handle_, column) == SQLITE_NULL;
}

std::int64_t Statement::Int(int column) const {
    return sqlite3_column_int64(handle_, column);
}

std::string Statement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(handle_, column));
    const int size = sqlite3_column_bytes(handle_, column);
    return text != nullptr ? std::string(text, static_cast<std::size_t>(size)) : std::string();
}

Transaction::Transaction(Connection& connection, Mode mode) : connection_(connection) {
    connection_.Execute(mode == Mode::Immediate ? "BEGIN IMMEDIATE" : "BEGIN DEFERRED");
}

Transaction::~Transaction() {
    if (open_) {
        // A failed rollback leaves nothing to undo: SQLite has already rolled back.
        sqlite3_exec(connection_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void Transaction::Commit() {
    connection_.Execute("COMMIT");
    open_ = false;
}

}  // namespace ladder::sqlite
