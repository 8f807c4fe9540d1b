#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "store/ColumnReader.h"
#include "store/SQLiteStatement.h"

class SQLiteDB;

// The statements of one store operation: bind, step, read the rows. The statements come from the
// connection's cache (SQLiteDB::CachedStatement) and are only borrowed: each Run ends the use of
// the previous statement, and so does the destructor, by resetting it and clearing its bindings.
// That way no read stays active after the operation (an active read keeps a shared lock on the
// file, which would block other programs' writes), whichever way the operation returns. The caller
// holds the store's lock for the query's whole life, which is also what makes the query the only
// user of its statement; two queries alive at once must not run the same SQL text.
class StoreQuery {
public:
    // One parameter: a number, or a text bound as UTF-8.
    class Arg {
    public:
        Arg(int number) : number_(number) {}
        Arg(std::u16string_view text) : text_(text), isText_(true) {}
        Arg(const std::u16string& text) : text_(text), isText_(true) {}

        bool IsText() const { return isText_; }
        int Number() const { return number_; }
        std::u16string_view Text() const { return text_; }

    private:
        int number_ = 0;
        std::u16string_view text_;
        bool isText_ = false;
    };
    using Args = std::initializer_list<Arg>;

    explicit StoreQuery(SQLiteDB& db) : db_(db) {}
    ~StoreQuery();
    StoreQuery(const StoreQuery&) = delete;
    StoreQuery& operator=(const StoreQuery&) = delete;

    // Takes the connection's statement of `sql`, binds `args` to parameters 1, 2, ... and steps
    // once; the step's result. SQLITE_MISUSE (21) when the text could not be prepared.
    int Run(const char* sql, Args args);
    // The next row: SQLITE_ROW (100) while there is one.
    int Step();
    // The columns of the current row.
    ColumnReader Row() const;

    // A write went through when its step gave 0, SQLITE_ROW or SQLITE_DONE.
    static bool Succeeded(int stepResult);

private:
    // Resets the statement in use, if any, and lets go of it.
    void Finish();

    SQLiteDB& db_;
    // Borrowed from db_'s cache; null between uses. Guarded, like db_, by the store's lock.
    SQLiteStatement* statement_ = nullptr;
    // The UTF-8 texts bound to the current statement; they must outlive its steps.
    std::vector<std::string> texts_;
};
