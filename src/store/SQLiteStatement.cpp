#include "store/SQLiteStatement.h"

SQLiteStatement::~SQLiteStatement() = default;

int SQLiteStatement::BindInt(int index, int value) {
    if (!handle_) {
        return SQLITE_MISUSE;
    }
    return sqlite3_bind_int(handle_.get(), index, value);
}

int SQLiteStatement::BindText(int index, const char* utf8, int byteLength) {
    if (!handle_) {
        return SQLITE_MISUSE;
    }
    return sqlite3_bind_text(handle_.get(), index, utf8, byteLength, SQLITE_STATIC);
}

int SQLiteStatement::Step() {
    if (!handle_) {
        return SQLITE_MISUSE;
    }
    return sqlite3_step(handle_.get());
}

int SQLiteStatement::Reset() {
    if (!handle_) {
        return SQLITE_OK;
    }
    const int result = sqlite3_reset(handle_.get());
    sqlite3_clear_bindings(handle_.get());
    return result;
}

int SQLiteStatement::ColumnInt(int index) const {
    if (!handle_) {
        return 0;
    }
    return sqlite3_column_int(handle_.get(), index);
}

const char* SQLiteStatement::ColumnText(int index) const {
    if (!handle_) {
        return nullptr;
    }
    return reinterpret_cast<const char*>(sqlite3_column_text(handle_.get(), index));
}

int SQLiteStatement::Finalize() {
    if (!handle_) {
        return SQLITE_OK;
    }
    return sqlite3_finalize(handle_.release());
}
