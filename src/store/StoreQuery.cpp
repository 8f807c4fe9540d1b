#include "store/StoreQuery.h"

#include "store/SQLiteDB.h"
#include "text/Utf.h"

int StoreQuery::Run(const char* sql, Args args) {
    db_.Prepare(statement_, sql);
    // The previous statement is gone, so its texts may go too. All texts are converted before
    // any is bound: growing the list afterwards could move a bound (short) string.
    texts_.clear();
    texts_.reserve(args.size());
    for (const Arg& arg : args) {
        if (arg.IsText()) {
            texts_.push_back(ToUtf8(arg.Text()));
        }
    }
    int index = 1;
    auto text = texts_.cbegin();
    for (const Arg& arg : args) {
        if (arg.IsText()) {
            statement_.BindText(index, text->c_str(), static_cast<int>(text->size()));
            ++text;
        } else {
            statement_.BindInt(index, arg.Number());
        }
        ++index;
    }
    return statement_.Step();
}

bool StoreQuery::Succeeded(int stepResult) {
    return stepResult == SQLITE_OK || stepResult == SQLITE_ROW || stepResult == SQLITE_DONE;
}
