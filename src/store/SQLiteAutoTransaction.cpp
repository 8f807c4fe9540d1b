#include "store/SQLiteAutoTransaction.h"

#include "store/SQLiteDB.h"

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* db) : db_(db) {
    if (db_ == nullptr) {
        return;
    }
    if (db_->IsOpen()) {
        db_->Exec("BEGIN");
    }
    active_ = true;
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
    if (active_) {
        db_->Exec("END");
        active_ = false;
    }
}

bool SQLiteAutoTransaction::Begin() {
    if (db_ == nullptr || active_) {
        return false;
    }
    active_ = true;
    if (!db_->IsOpen()) {
        return false;
    }
    return db_->Exec("BEGIN") == SQLITE_OK;
}

bool SQLiteAutoTransaction::Commit() {
    if (db_ == nullptr) {
        return false;
    }
    active_ = false;
    if (!db_->IsOpen()) {
        return false;
    }
    return db_->Exec("END") == SQLITE_OK;
}
