// The statements a connection keeps prepared: reused, reset after every use so the file stays
// writable for other programs, finalised before the connection closes, and still right after
// the schema changes under them.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "store/SQLiteDB.h"
#include "store/SQLiteStatement.h"
#include "store/SettingsStore.h"
#include "store/StoreTestSupport.h"
#include "support/TempDir.h"

namespace {

constexpr char kNameById[] = "SELECT name FROM t WHERE id = ?";

class StatementCacheTest : public testing::Test {
protected:
    void SetUp() override {
        path = dir.File("cache.db").string();
        ASSERT_TRUE(db.Open(path.c_str(), SQLiteDB::kOpenOrCreate));
        ASSERT_EQ(db.Exec("CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT);"
                          "INSERT INTO t VALUES (1, 'one'), (2, 'two');"),
                  SQLITE_OK);
    }

    // The name of row `id` through the kept statement, which is reset afterwards.
    std::string NameById(int id) {
        SQLiteStatement* statement = db.CachedStatement(kNameById);
        if (statement == nullptr) {
            return "<none>";
        }
        statement->BindInt(1, id);
        const bool found = statement->Step() == SQLITE_ROW;
        std::string name = found ? statement->ColumnText(0) : "<no row>";
        statement->Reset();
        return name;
    }

    TempDir dir;
    std::string path;
    SQLiteDB db;
};

TEST_F(StatementCacheTest, EachTextIsPreparedOnceAndServesEveryUse) {
    SQLiteStatement* first = db.CachedStatement(kNameById);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(db.CachedStatement(kNameById), first);
    // The same text from another buffer finds the same statement.
    const std::string copy = kNameById;
    EXPECT_EQ(db.CachedStatement(copy.c_str()), first);
    EXPECT_EQ(db.CachedStatementCount(), 1u);

    EXPECT_EQ(NameById(1), "one");
    EXPECT_EQ(NameById(2), "two");
    // Reset cleared the binding: an unbound parameter is NULL and matches no row.
    ASSERT_EQ(first->Step(), SQLITE_DONE);
    first->Reset();

    SQLiteStatement* count = db.CachedStatement("SELECT count(*) FROM t");
    ASSERT_NE(count, nullptr);
    EXPECT_NE(count, first);
    EXPECT_EQ(db.CachedStatementCount(), 2u);
}

TEST_F(StatementCacheTest, ATextThatDoesNotPrepareIsNotKept) {
    EXPECT_EQ(db.CachedStatement("SELECT * FROM later"), nullptr);
    EXPECT_EQ(db.CachedStatement(nullptr), nullptr);
    EXPECT_EQ(db.CachedStatement(""), nullptr);  // prepares to no statement at all
    EXPECT_EQ(db.CachedStatementCount(), 0u);

    // Once the table exists the same text prepares.
    ASSERT_EQ(db.Exec("CREATE TABLE later(x)"), SQLITE_OK);
    EXPECT_NE(db.CachedStatement("SELECT * FROM later"), nullptr);

    SQLiteDB closed;
    EXPECT_EQ(closed.CachedStatement(kNameById), nullptr);
}

TEST_F(StatementCacheTest, ClosingOrReopeningFinalisesTheKeptStatements) {
    // A read left in the middle of its rows: SQLite refuses to close while it exists.
    SQLiteStatement* all = db.CachedStatement("SELECT * FROM t");
    ASSERT_NE(all, nullptr);
    ASSERT_EQ(all->Step(), SQLITE_ROW);
    EXPECT_EQ(NameById(2), "two");

    EXPECT_TRUE(db.Close());
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.CachedStatementCount(), 0u);

    ASSERT_TRUE(db.Open(path.c_str(), SQLiteDB::kOpenExisting));
    EXPECT_EQ(NameById(1), "one");
    ASSERT_EQ(db.CachedStatement("SELECT * FROM t")->Step(), SQLITE_ROW);
    // Opening over the connection closes it the same way; it would fail if the close did.
    const std::string other = dir.File("other.db").string();
    EXPECT_TRUE(db.Open(other.c_str(), SQLiteDB::kOpenOrCreate));
    EXPECT_EQ(db.CachedStatementCount(), 0u);
}

TEST_F(StatementCacheTest, KeptStatementsFollowAnotherConnectionsSchemaChange) {
    EXPECT_EQ(NameById(1), "one");
    SQLiteDB other;
    ASSERT_TRUE(other.Open(path.c_str(), SQLiteDB::kOpenExisting));

    ASSERT_EQ(other.Exec("DROP TABLE t"), SQLITE_OK);
    EXPECT_EQ(NameById(1), "<no row>");  // the step fails: the table is gone

    ASSERT_EQ(other.Exec("CREATE TABLE t(id INTEGER PRIMARY KEY, extra TEXT, name TEXT);"
                         "INSERT INTO t VALUES (1, 'x', 'new one');"),
              SQLITE_OK);
    EXPECT_EQ(NameById(1), "new one");
    EXPECT_EQ(db.CachedStatementCount(), 1u);
}

// Another program's connection to the store's file. SQLiteDB sets no busy timeout, so a write
// that meets a lock fails at once with SQLITE_BUSY instead of waiting for it.
class OtherProgram {
public:
    explicit OtherProgram(const std::string& path) {
        db_.Open(path.c_str(), SQLiteDB::kOpenExisting);
    }

    int Write() { return db_.Exec("UPDATE t_configdata SET value = value || ''"); }
    int Exec(const char* sql) { return db_.Exec(sql); }

private:
    SQLiteDB db_;
};

TEST_F(StoreTest, RepeatedOperationsReuseTheirStatements) {
    ASSERT_EQ(store.AddProfile(ProfileRecord{0, u"P", u"", 0, 0}), 1);
    const std::size_t afterAdd = store.CachedStatementCount();
    EXPECT_EQ(afterAdd, 2u);  // the profile's insert and the keys' insert, run once per key

    std::u16string value;
    ASSERT_TRUE(store.SetConfigValue(1, u"dpi_index", u"3"));
    ASSERT_TRUE(store.GetConfigValue(1, u"dpi_index", value));
    EXPECT_EQ(value, u"3");
    ASSERT_TRUE(store.SetConfigValue(1, u"dpi_index", u"4"));
    ASSERT_TRUE(store.GetConfigValue(1, u"dpi_index", value));
    EXPECT_EQ(value, u"4");
    EXPECT_EQ(store.CachedStatementCount(), afterAdd + 2);

    store.Close();
    EXPECT_EQ(store.CachedStatementCount(), 0u);
}

TEST_F(StoreTest, NoOperationKeepsTheFileLockedAfterItReturns) {
    ASSERT_EQ(store.AddProfile(ProfileRecord{0, u"P", u"", 0, 0}), 1);
    ASSERT_EQ(store.AddProfile(ProfileRecord{0, u"Q", u"", 0, 0}), 2);
    OtherProgram other(DbPath("m1"));
    // Both profiles active, so the active profile's read has a second row it never steps to.
    ASSERT_EQ(other.Exec("UPDATE t_profile_data SET status = 1"), SQLITE_OK);

    struct Case {
        const char* name;
        bool otherHoldsTheFile;  // the operation meets the other program's exclusive lock
        std::function<bool()> operation;
        bool expected;
    };
    std::u16string text;
    std::vector<KeyAssignmentRecord> keys;
    const Case cases[] = {
        // The read returns with its statement on the row it found, more rows unread.
        {"read returning its row", false,
         [&] { return store.GetConfigValue(1, u"report_rate", text); }, true},
        {"read stopping at the first of two rows", false,
         [&] { return store.GetActiveProfile() == 1; }, true},
        {"read finding nothing", false, [&] { return store.GetConfigValue(9, u"x", text); }, false},
        {"list", false, [&] { return store.ListKeyAssignments(1, 0, keys) == 0; }, true},
        {"write", false, [&] { return store.SetConfigValue(1, u"dpi_index", u"2"); }, true},
        {"read failing on the lock", true,
         [&] { return store.GetConfigValue(1, u"report_rate", text); }, false},
        {"write failing on the lock", true, [&] { return store.RenameProfile(1, u"R"); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.otherHoldsTheFile) {
            ASSERT_EQ(other.Exec("BEGIN EXCLUSIVE"), SQLITE_OK);
        }
        EXPECT_EQ(c.operation(), c.expected);
        if (c.otherHoldsTheFile) {
            ASSERT_EQ(other.Exec("COMMIT"), SQLITE_OK);
        }
        EXPECT_EQ(other.Write(), SQLITE_OK);
    }
    // The statements that failed on the lock serve again.
    EXPECT_TRUE(store.GetConfigValue(1, u"report_rate", text));
    EXPECT_TRUE(store.RenameProfile(1, u"R"));
}

TEST_F(StoreTest, StatementsStillServeAfterTheFileChangesUnderThem) {
    ASSERT_EQ(store.AddProfile(ProfileRecord{0, u"P", u"", 0, 0}), 1);
    std::u16string value;
    ASSERT_TRUE(store.GetConfigValue(1, u"dpi_index", value));
    const std::string definition =
        QueryTexts(DbPath("m1"), "SELECT sql FROM sqlite_master WHERE name = 't_configdata'").at(0);

    {
        // Another program rebuilds the table with a row of its own.
        OtherProgram other(DbPath("m1"));
        ASSERT_EQ(other.Exec("DROP TABLE t_configdata"), SQLITE_OK);
        EXPECT_FALSE(store.GetConfigValue(1, u"dpi_index", value));
        EXPECT_EQ(other.Exec("UPDATE t_profile_data SET name = 'x'"), SQLITE_OK);
        ASSERT_EQ(other.Exec(definition.c_str()), SQLITE_OK);
        ASSERT_EQ(other.Exec("INSERT INTO t_configdata(profile, key, value) "
                             "VALUES (1, 'dpi_index', 'rebuilt')"),
                  SQLITE_OK);
    }
    ASSERT_TRUE(store.GetConfigValue(1, u"dpi_index", value));
    EXPECT_EQ(value, u"rebuilt");

    // The model's file made anew: the new connection prepares its own statements.
    store.Close();
    ASSERT_TRUE(std::filesystem::remove(DbPath("m1")));
    ASSERT_TRUE(store.Open(Folder(), u"m1"));
    EXPECT_FALSE(store.GetConfigValue(1, u"dpi_index", value));
    ASSERT_EQ(store.AddProfile(ProfileRecord{0, u"P", u"", 0, 0}), 1);
    ASSERT_TRUE(store.GetConfigValue(1, u"dpi_index", value));
    EXPECT_EQ(
        ToUtf8(value),
        QueryTexts(DbPath("m1"), "SELECT value FROM t_configdata WHERE key = 'dpi_index'").at(0));
}

}  // namespace
