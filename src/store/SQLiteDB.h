#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include <sqlite3.h>

#include "store/SQLiteStatement.h"

// One SQLite connection. The handle is owned: the destructor interrupts and closes an open
// connection. Nothing here synchronises; the owner serialises access (SettingsStore's lock).
//
// The connection keeps the statements of the fixed SQL texts it is asked for prepared
// (CachedStatement): preparing one costs about half as much again as running one of the store's
// small queries, and a profile switch runs them by the dozen. They are finalised before the
// connection closes, since SQLite refuses to close a connection with statements left. A schema
// change by this or another connection needs nothing from us: statements from
// sqlite3_prepare_v2 prepare themselves again on their next step.
class SQLiteDB {
public:
    // sqlite3_open_v2 flags used by the store.
    static constexpr int kOpenExisting = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;  // 0x10002
    static constexpr int kOpenOrCreate =
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;  // 0x10006

    using ExecCallback = int (*)(void* argument, int columns, char** values, char** names);

    SQLiteDB() = default;
    virtual ~SQLiteDB();
    SQLiteDB(const SQLiteDB&) = delete;
    SQLiteDB& operator=(const SQLiteDB&) = delete;
    SQLiteDB(SQLiteDB&&) noexcept = default;
    SQLiteDB& operator=(SQLiteDB&& other) noexcept;

    // Opens `path` (UTF-8) with `flags`, closing an open connection first. On success the
    // connection runs with "PRAGMA synchronous = OFF; ". False for a null path, when the open
    // fails (nothing stays open then), or when the previous connection could not be closed.
    bool Open(const char* path, int flags);
    // True when nothing is open or the connection closed; a refused close keeps the connection.
    // The kept statements are finalised first either way.
    bool Close();
    bool IsOpen() const { return handle_ != nullptr; }

    // Finalises whatever `statement` held, then prepares `sql` on it. A negative `length` means
    // the whole text with its terminator. SQLITE_MISUSE (21) with no connection or a null `sql`.
    int Prepare(SQLiteStatement& statement, const char* sql, int length = -1);
    // The statement of `sql` that this connection keeps prepared, prepared on the first call with
    // that text; the same object on every later call until the connection closes. Null with no
    // connection, a null `sql`, or when the text does not prepare (nothing is kept then, so a
    // later call tries again, say once the table exists). The connection owns it: the caller
    // binds and steps it and must Reset it when done, on every path, and only one user may hold
    // it at a time (StoreQuery does both). Meant for texts fixed in the program: every distinct
    // text stays prepared for the connection's life.
    SQLiteStatement* CachedStatement(const char* sql);
    // How many statements the connection keeps prepared (0 after Close).
    std::size_t CachedStatementCount() const { return statements_.size(); }
    // sqlite3_exec without an error message; SQLITE_MISUSE with no connection or a null `sql`.
    int Exec(const char* sql, ExecCallback callback = nullptr, void* argument = nullptr);
    // SQLite's description of the connection's last error ("file is not a database"); empty
    // without a connection.
    std::string ErrorMessage() const;
    // The row id of the last successful INSERT on this connection, -1 with no connection.
    std::int64_t LastInsertRowId() const;

private:
    struct Closer {
        void operator()(sqlite3* handle) const;
    };

    // Lets the cache be searched with the caller's text without copying it into a string.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>()(text);
        }
    };

    std::unique_ptr<sqlite3, Closer> handle_;
    // Keyed by SQL text; the nodes never move, so handed-out pointers stay valid until the
    // statements are finalised (Close, Open, destruction). Guarded like the connection itself:
    // by the owner's lock (SettingsStore::mutex_).
    std::unordered_map<std::string, SQLiteStatement, TextHash, std::equal_to<>> statements_;
};
