#include "store/SQLiteDB.h"

#include <cstring>
#include <utility>

namespace {

constexpr char kSynchronousOff[] = "PRAGMA synchronous = OFF; ";

}  // namespace

void SQLiteDB::Closer::operator()(sqlite3* handle) const {
    sqlite3_interrupt(handle);
    sqlite3_close(handle);
}

SQLiteDB::~SQLiteDB() {
    // The statements go first: the closer's sqlite3_close fails while any is left.
    statements_.clear();
}

SQLiteDB& SQLiteDB::operator=(SQLiteDB&& other) noexcept {
    if (this != &other) {
        statements_.clear();
        handle_ = std::move(other.handle_);
        statements_ = std::move(other.statements_);
    }
    return *this;
}

bool SQLiteDB::Open(const char* path, int flags) {
    if (handle_) {
        sqlite3_interrupt(handle_.get());
        // Opening over a connection that refuses to close would lose its handle.
        if (!Close()) {
            return false;
        }
    }
    if (path == nullptr) {
        return false;
    }
    sqlite3* opened = nullptr;
    if (sqlite3_open_v2(path, &opened, flags, nullptr) != SQLITE_OK) {
        // SQLite may hand back a half-open handle even on failure.
        sqlite3_close(opened);
        return false;
    }
    handle_.reset(opened);
    Exec(kSynchronousOff);
    return true;
}

bool SQLiteDB::Close() {
    // Kept statements would make SQLite refuse the close.
    statements_.clear();
    if (!handle_) {
        return true;
    }
    if (sqlite3_close(handle_.get()) != SQLITE_OK) {
        return false;
    }
    // Closed already: drop the handle without running the closer.
    static_cast<void>(handle_.release());
    return true;
}

int SQLiteDB::Prepare(SQLiteStatement& statement, const char* sql, int length) {
    statement.Finalize();
    if (!handle_ || sql == nullptr) {
        return SQLITE_MISUSE;
    }
    if (length < 0) {
        length = static_cast<int>(std::strlen(sql)) + 1;
    }
    sqlite3_stmt* prepared = nullptr;
    const int result = sqlite3_prepare_v2(handle_.get(), sql, length, &prepared, nullptr);
    statement.Adopt(prepared);
    return result;
}

SQLiteStatement* SQLiteDB::CachedStatement(const char* sql) {
    if (!handle_ || sql == nullptr) {
        return nullptr;
    }
    if (const auto kept = statements_.find(std::string_view(sql)); kept != statements_.end()) {
        return &kept->second;
    }
    SQLiteStatement statement;
    if (Prepare(statement, sql) != SQLITE_OK || !statement.IsPrepared()) {
        return nullptr;
    }
    return &statements_.emplace(sql, std::move(statement)).first->second;
}

int SQLiteDB::Exec(const char* sql, ExecCallback callback, void* argument) {
    if (!handle_ || sql == nullptr) {
        return SQLITE_MISUSE;
    }
    return sqlite3_exec(handle_.get(), sql, callback, argument, nullptr);
}

std::string SQLiteDB::ErrorMessage() const {
    if (!handle_) {
        return {};
    }
    return sqlite3_errmsg(handle_.get());
}

std::int64_t SQLiteDB::LastInsertRowId() const {
    if (!handle_) {
        return -1;
    }
    return sqlite3_last_insert_rowid(handle_.get());
}
