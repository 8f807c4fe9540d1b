// The thin layer over SQLite: connection, statement and scoped transaction.

#include <gtest/gtest.h>

#include <string>

#include "store/SQLiteAutoTransaction.h"
#include "store/SQLiteDB.h"
#include "store/SQLiteStatement.h"
#include "store/StoreTestSupport.h"
#include "support/TempDir.h"

namespace {

class SQLiteWrapperTest : public testing::Test {
protected:
    void SetUp() override {
        path = dir.File("wrapper.db").string();
        ASSERT_TRUE(db.Open(path.c_str(), SQLiteDB::kOpenOrCreate));
        ASSERT_EQ(db.Exec("CREATE TABLE t(id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT)"),
                  SQLITE_OK);
    }

    int RowsSeenByAnotherConnection() const { return QueryInt(path, "SELECT count(*) FROM t"); }

    TempDir dir;
    std::string path;
    SQLiteDB db;
};

TEST(SQLiteDBClosed, EveryCallIsRefusedWithMisuse) {
    SQLiteDB db;
    SQLiteStatement statement;
    EXPECT_FALSE(db.IsOpen());
    EXPECT_TRUE(db.Close());
    EXPECT_FALSE(db.Open(nullptr, SQLiteDB::kOpenOrCreate));
    EXPECT_EQ(db.Prepare(statement, "SELECT 1"), SQLITE_MISUSE);
    EXPECT_FALSE(statement.IsPrepared());
    EXPECT_EQ(db.Exec("SELECT 1"), SQLITE_MISUSE);
    EXPECT_EQ(db.LastInsertRowId(), -1);

    EXPECT_EQ(statement.BindInt(1, 5), SQLITE_MISUSE);
    EXPECT_EQ(statement.BindText(1, "x", 1), SQLITE_MISUSE);
    EXPECT_EQ(statement.Step(), SQLITE_MISUSE);
    EXPECT_EQ(statement.ColumnInt(0), 0);
    EXPECT_EQ(statement.ColumnText(0), nullptr);
}

TEST(SQLiteDBOpen, CreatesOnlyWithTheCreateFlag) {
    TempDir dir;
    const std::string path = dir.File("new.db").string();
    SQLiteDB db;
    EXPECT_FALSE(db.Open(path.c_str(), SQLiteDB::kOpenExisting));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(SQLiteDB::kOpenExisting, 0x10002);
    EXPECT_EQ(SQLiteDB::kOpenOrCreate, 0x10006);

    ASSERT_TRUE(db.Open(path.c_str(), SQLiteDB::kOpenOrCreate));
    EXPECT_TRUE(std::filesystem::exists(path));
    // Every connection runs without syncing.
    SQLiteStatement statement;
    ASSERT_EQ(db.Prepare(statement, "PRAGMA synchronous"), SQLITE_OK);
    ASSERT_EQ(statement.Step(), SQLITE_ROW);
    EXPECT_EQ(statement.ColumnInt(0), 0);
}

TEST_F(SQLiteWrapperTest, BindsStepsAndReadsColumns) {
    SQLiteStatement statement;
    ASSERT_EQ(db.Prepare(statement, "INSERT INTO t(name) VALUES (?)"), SQLITE_OK);
    const std::string name = "Grüße";
    EXPECT_EQ(statement.BindText(1, name.c_str(), static_cast<int>(name.size())), SQLITE_OK);
    EXPECT_EQ(statement.BindInt(2, 1), SQLITE_RANGE);  // SQLite's own refusal is passed on
    EXPECT_EQ(statement.Step(), SQLITE_DONE);
    EXPECT_EQ(db.LastInsertRowId(), 1);

    ASSERT_EQ(db.Prepare(statement, "SELECT id, name, NULL FROM t"), SQLITE_OK);
    ASSERT_EQ(statement.Step(), SQLITE_ROW);
    EXPECT_EQ(statement.ColumnInt(0), 1);
    EXPECT_STREQ(statement.ColumnText(1), "Grüße");
    EXPECT_EQ(statement.ColumnText(2), nullptr);
    EXPECT_EQ(statement.Step(), SQLITE_DONE);
}

TEST_F(SQLiteWrapperTest, PrepareTakesTheGivenLengthOrTheWholeText) {
    SQLiteStatement statement;
    ASSERT_EQ(db.Prepare(statement, "SELECT 12345", 8), SQLITE_OK);  // "SELECT 1"
    ASSERT_EQ(statement.Step(), SQLITE_ROW);
    EXPECT_EQ(statement.ColumnInt(0), 1);
    ASSERT_EQ(db.Prepare(statement, "SELECT 12345"), SQLITE_OK);
    ASSERT_EQ(statement.Step(), SQLITE_ROW);
    EXPECT_EQ(statement.ColumnInt(0), 12345);
    EXPECT_EQ(db.Prepare(statement, nullptr), SQLITE_MISUSE);
    EXPECT_EQ(db.Prepare(statement, "SELEKT"), SQLITE_ERROR);
    EXPECT_FALSE(statement.IsPrepared());
}

TEST_F(SQLiteWrapperTest, PreparingAgainFinalisesTheFirstStatement) {
    {
        SQLiteStatement statement;
        ASSERT_EQ(db.Prepare(statement, "SELECT 1"), SQLITE_OK);
        ASSERT_EQ(statement.Step(), SQLITE_ROW);
        ASSERT_EQ(db.Prepare(statement, "SELECT 2"), SQLITE_OK);
        ASSERT_EQ(statement.Step(), SQLITE_ROW);
        EXPECT_EQ(statement.ColumnInt(0), 2);
        // A live statement keeps the connection from closing, and the refusal keeps it usable.
        EXPECT_FALSE(db.Close());
        EXPECT_TRUE(db.IsOpen());
    }
    // Had the first statement been left behind, the connection could still not close.
    EXPECT_TRUE(db.Close());
    EXPECT_FALSE(db.IsOpen());
}

TEST_F(SQLiteWrapperTest, AStatementWhoseStepFailedIsStillReleasedByPrepare) {
    SQLiteStatement statement;
    ASSERT_EQ(db.Prepare(statement, "INSERT INTO t(id, name) VALUES (1, 'a')"), SQLITE_OK);
    ASSERT_EQ(statement.Step(), SQLITE_DONE);
    ASSERT_EQ(db.Prepare(statement, "INSERT INTO t(id, name) VALUES (1, 'b')"), SQLITE_OK);
    ASSERT_EQ(statement.Step(), SQLITE_CONSTRAINT);
    // Finalising reports the failed step, yet SQLite has freed the statement: nothing may be
    // left pointing at it, even when the new prepare is refused.
    SQLiteDB closed;
    EXPECT_EQ(closed.Prepare(statement, "SELECT 1"), SQLITE_MISUSE);
    EXPECT_FALSE(statement.IsPrepared());
    EXPECT_EQ(statement.Step(), SQLITE_MISUSE);
    EXPECT_TRUE(db.Close());
}

TEST_F(SQLiteWrapperTest, OpeningAgainClosesTheFirstConnection) {
    const std::string other = dir.File("other.db").string();
    ASSERT_TRUE(db.Open(other.c_str(), SQLiteDB::kOpenOrCreate));
    EXPECT_EQ(db.Exec("SELECT count(*) FROM t"), SQLITE_ERROR);  // "t" is in the first file
    // A connection that cannot close is not replaced.
    SQLiteStatement busy;
    ASSERT_EQ(db.Prepare(busy, "SELECT 1"), SQLITE_OK);
    EXPECT_FALSE(db.Open(path.c_str(), SQLiteDB::kOpenExisting));
    EXPECT_EQ(db.Exec("SELECT count(*) FROM t"), SQLITE_ERROR);
}

TEST_F(SQLiteWrapperTest, LeavingTheScopeEndsTheTransactionWithoutRollback) {
    {
        SQLiteAutoTransaction transaction(&db);
        EXPECT_TRUE(transaction.IsActive());
        EXPECT_FALSE(transaction.Begin());  // already begun by the constructor
        ASSERT_EQ(db.Exec("INSERT INTO t(name) VALUES ('a')"), SQLITE_OK);
        ASSERT_EQ(db.Exec("INSERT INTO t(name) VALUES ('b')"), SQLITE_OK);
        EXPECT_EQ(RowsSeenByAnotherConnection(), 0);
    }
    EXPECT_EQ(RowsSeenByAnotherConnection(), 2);
    // Outside a transaction every statement commits by itself again.
    ASSERT_EQ(db.Exec("INSERT INTO t(name) VALUES ('c')"), SQLITE_OK);
    EXPECT_EQ(RowsSeenByAnotherConnection(), 3);
}

TEST_F(SQLiteWrapperTest, CommitAndBeginFollowTheActiveFlag) {
    SQLiteAutoTransaction transaction(&db);
    ASSERT_EQ(db.Exec("INSERT INTO t(name) VALUES ('a')"), SQLITE_OK);
    EXPECT_TRUE(transaction.Commit());
    EXPECT_FALSE(transaction.IsActive());
    EXPECT_EQ(RowsSeenByAnotherConnection(), 1);
    EXPECT_FALSE(transaction.Commit());  // "END" with no transaction open

    EXPECT_TRUE(transaction.Begin());
    ASSERT_EQ(db.Exec("INSERT INTO t(name) VALUES ('b')"), SQLITE_OK);
    EXPECT_EQ(RowsSeenByAnotherConnection(), 1);
    EXPECT_TRUE(transaction.Commit());
    EXPECT_EQ(RowsSeenByAnotherConnection(), 2);
}

TEST(SQLiteAutoTransactionWithoutConnection, KeepsOnlyItsFlag) {
    SQLiteAutoTransaction none(nullptr);
    EXPECT_FALSE(none.IsActive());
    EXPECT_FALSE(none.Begin());
    EXPECT_FALSE(none.Commit());

    SQLiteDB closed;
    SQLiteAutoTransaction transaction(&closed);
    EXPECT_TRUE(transaction.IsActive());
    EXPECT_FALSE(transaction.Commit());
    EXPECT_FALSE(transaction.IsActive());
    EXPECT_FALSE(transaction.Begin());
    EXPECT_TRUE(transaction.IsActive());
}

}  // namespace
