#pragma once

#include <string>

#include "store/SQLiteStatement.h"

// Reads the columns of the current row in order, from column 0: `row >> id >> name >> ...`.
// Text comes back as UTF-16; a null column reads as empty text or 0.
class ColumnReader {
public:
    explicit ColumnReader(const SQLiteStatement& statement) : statement_(statement) {}

    ColumnReader& operator>>(int& value);
    ColumnReader& operator>>(std::u16string& text);

private:
    const SQLiteStatement& statement_;
    int next_ = 0;
};
