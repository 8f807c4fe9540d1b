#pragma once

#include <memory>

#include <sqlite3.h>

// One prepared statement, owned: finalised when it is prepared again (SQLiteDB::Prepare) and when
// it goes out of scope. Every operation on an empty statement returns SQLITE_MISUSE (21), or 0 /
// null for column reads. A statement the connection keeps for reuse (SQLiteDB::CachedStatement)
// is Reset after each use instead.
class SQLiteStatement {
public:
    SQLiteStatement() = default;
    virtual ~SQLiteStatement();
    SQLiteStatement(const SQLiteStatement&) = delete;
    SQLiteStatement& operator=(const SQLiteStatement&) = delete;
    SQLiteStatement(SQLiteStatement&&) noexcept = default;
    SQLiteStatement& operator=(SQLiteStatement&&) noexcept = default;

    bool IsPrepared() const { return handle_ != nullptr; }

    // Parameter indexes start at 1. Text is bound without a copy (SQLITE_STATIC): `utf8` must stay
    // valid until the statement is finalised or bound again.
    int BindInt(int index, int value);
    int BindText(int index, const char* utf8, int byteLength);
    int Step();
    // Ends the current use: rewinds the statement, which releases the read lock an unfinished
    // read holds (other programs could not write the file meanwhile), and clears its bindings,
    // so nothing keeps pointing at texts that are about to go. Returns sqlite3_reset's result
    // (the error of the last step, if any); SQLITE_OK for an empty statement.
    int Reset();

    // Column indexes start at 0.
    int ColumnInt(int index) const;
    const char* ColumnText(int index) const;

    // Finalises the statement and returns sqlite3_finalize's result (the error of the last step,
    // if any). The handle is gone afterwards whatever the result: SQLite always frees it.
    int Finalize();

private:
    friend class SQLiteDB;
    void Adopt(sqlite3_stmt* handle) { handle_.reset(handle); }

    struct Finalizer {
        void operator()(sqlite3_stmt* handle) const { sqlite3_finalize(handle); }
    };

    std::unique_ptr<sqlite3_stmt, Finalizer> handle_;
};
