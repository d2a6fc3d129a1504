// The SQLite wrappers, on in-memory databases.

#include "ladder_server/store/sqlite/sqlite.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using ladder::sqlite::Connection;
using ladder::sqlite::Error;
using ladder::sqlite::Statement;
using ladder::sqlite::Transaction;

std::int64_t Count(Connection& connection) {
    Statement count(connection, "SELECT COUNT(*) FROM t");
    count.Step();
    return count.Int(0);
}

TEST(SqliteTest, StatementsBindAndReadEveryKindOfValue) {
    Connection connection(":memory:");
    connection.Execute("CREATE TABLE t (i INTEGER, s TEXT)");
    Statement insert(connection, "INSERT INTO t (i, s) VALUES (?1, ?2)");
    insert.Bind(1, std::int64_t{1} << 40).Bind(2, std::string_view("a\0b", 3)).Run();
    EXPECT_EQ(connection.Changes(), 1);
    insert.Reset();
    insert.BindNull(1).Bind(2, "").Run();

    Statement select(connection, "SELECT i, s FROM t ORDER BY rowid");
    ASSERT_TRUE(select.Step());
    EXPECT_FALSE(select.IsNull(0));
    EXPECT_EQ(select.Int(0), std::int64_t{1} << 40);
    EXPECT_EQ(select.Text(1), std::string("a\0b", 3));
    ASSERT_TRUE(select.Step());
    EXPECT_TRUE(select.IsNull(0));
    EXPECT_EQ(select.Text(1), "");
    EXPECT_FALSE(select.Step());
}

TEST(SqliteTest, ErrorsThrowWithTheirCode) {
    Connection connection(":memory:");
    connection.Execute("CREATE TABLE t (i INTEGER PRIMARY KEY, s TEXT)");
    EXPECT_THROW(Statement(connection, "SELEC 1"), Error);
    EXPECT_THROW(connection.Execute("INSERT INTO nowhere VALUES (1)"), Error);
    connection.Execute("INSERT INTO t VALUES (1, 'a')");
    Statement again(connection, "INSERT INTO t VALUES (1, 'b')");
    try {
        again.Run();
        FAIL() << "a duplicate key was taken";
    } catch (const Error& e) {
        EXPECT_EQ(e.Code() & 0xff, SQLITE_CONSTRAINT);
    }
    EXPECT_THROW(Connection("/nonexistent-folder/x/y.db"), Error);
}

TEST(SqliteTest, TransactionRollsBackUnlessCommitted) {
    Connection connection(":memory:");
    connection.Execute("CREATE TABLE t (i INTEGER)");
    {
        Transaction transaction(connection);
        connection.Execute("INSERT INTO t VALUES (1)");
        EXPECT_EQ(Count(connection), 1);
    }
    EXPECT_EQ(Count(connection), 0);
    try {
        Transaction transaction(connection);
        connection.Execute("INSERT INTO t VALUES (1)");
        throw std::runtime_error("failure half way");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(Count(connection), 0);
    {
        Transaction transaction(connection, Transaction::Mode::Deferred);
        connection.Execute("INSERT INTO t VALUES (1)");
        transaction.Commit();
    }
    EXPECT_EQ(Count(connection), 1);
    // No transaction is left open: a new one can begin.
    Transaction next(connection);
    next.Commit();
}

}  // namespace
