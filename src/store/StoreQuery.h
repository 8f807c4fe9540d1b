#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "store/ColumnReader.h"
#include "store/SQLiteStatement.h"

class SQLiteDB;

// The statement of one store operation: prepare, bind, step, read the row, and finalise when the
// query goes out of scope. It may run several statements in turn; each Run finalises the previous
// one. The caller holds the store's lock for the query's whole life.
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
    StoreQuery(const StoreQuery&) = delete;
    StoreQuery& operator=(const StoreQuery&) = delete;

    // Prepares `sql`, binds `args` to parameters 1, 2, ... and steps once; the step's result.
    // SQLITE_MISUSE (21) when nothing could be prepared.
    int Run(const char* sql, Args args);
    // The next row: SQLITE_ROW (100) while there is one.
    int Step() { return statement_.Step(); }
    // The columns of the current row.
    ColumnReader Row() const { return ColumnReader(statement_); }

    // A write went through when its step gave 0, SQLITE_ROW or SQLITE_DONE.
    static bool Succeeded(int stepResult);

private:
    SQLiteDB& db_;
    SQLiteStatement statement_;
    // The UTF-8 texts bound to the current statement; they must outlive its steps.
    std::vector<std::string> texts_;
};
