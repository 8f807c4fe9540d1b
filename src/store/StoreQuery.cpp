#include "store/StoreQuery.h"

#include "store/SQLiteDB.h"
#include "text/Utf.h"

namespace {

// What an operation reads when nothing could be prepared: every column is 0 or null.
const SQLiteStatement kNoStatement;

}  // namespace

StoreQuery::~StoreQuery() {
    Finish();
}

void StoreQuery::Finish() {
    if (statement_ != nullptr) {
        statement_->Reset();
        statement_ = nullptr;
    }
}

int StoreQuery::Run(const char* sql, Args args) {
    Finish();
    // The previous statement no longer points at its texts, so they may go. All texts are
    // converted before any is bound: growing the list afterwards could move a bound (short)
    // string.
    texts_.clear();
    texts_.reserve(args.size());
    for (const Arg& arg : args) {
        if (arg.IsText()) {
            texts_.push_back(ToUtf8(arg.Text()));
        }
    }
    statement_ = db_.CachedStatement(sql);
    if (statement_ == nullptr) {
        return SQLITE_MISUSE;
    }
    int index = 1;
    auto text = texts_.cbegin();
    for (const Arg& arg : args) {
        if (arg.IsText()) {
            statement_->BindText(index, text->c_str(), static_cast<int>(text->size()));
            ++text;
        } else {
            statement_->BindInt(index, arg.Number());
        }
        ++index;
    }
    return statement_->Step();
}

int StoreQuery::Step() {
    return statement_ != nullptr ? statement_->Step() : SQLITE_MISUSE;
}

ColumnReader StoreQuery::Row() const {
    return ColumnReader(statement_ != nullptr ? *statement_ : kNoStatement);
}

bool StoreQuery::Succeeded(int stepResult) {
    return stepResult == SQLITE_OK || stepResult == SQLITE_ROW || stepResult == SQLITE_DONE;
}
