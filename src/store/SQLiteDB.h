#pragma once

#include <cstdint>
#include <memory>

#include <sqlite3.h>

class SQLiteStatement;

// One SQLite connection. The handle is owned: the destructor interrupts and closes an open
// connection. Nothing here synchronises; the owner serialises access (SettingsStore's lock).
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
    SQLiteDB& operator=(SQLiteDB&&) noexcept = default;

    // Opens `path` (UTF-8) with `flags`, closing an open connection first. On success the
    // connection runs with "PRAGMA synchronous = OFF; ". False for a null path, when the open
    // fails (nothing stays open then), or when the previous connection could not be closed.
    bool Open(const char* path, int flags);
    // True when nothing is open or the connection closed; a refused close keeps the connection.
    bool Close();
    bool IsOpen() const { return handle_ != nullptr; }

    // Finalises whatever `statement` held, then prepares `sql` on it. A negative `length` means
    // the whole text with its terminator. SQLITE_MISUSE (21) with no connection or a null `sql`.
    int Prepare(SQLiteStatement& statement, const char* sql, int length = -1);
    // sqlite3_exec without an error message; SQLITE_MISUSE with no connection or a null `sql`.
    int Exec(const char* sql, ExecCallback callback = nullptr, void* argument = nullptr);
    // The row id of the last successful INSERT on this connection, -1 with no connection.
    std::int64_t LastInsertRowId() const;

private:
    struct Closer {
        void operator()(sqlite3* handle) const;
    };

    std::unique_ptr<sqlite3, Closer> handle_;
};
