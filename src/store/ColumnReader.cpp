#include "store/ColumnReader.h"

#include "text/Utf.h"

ColumnReader& ColumnReader::operator>>(int& value) {
    value = statement_.ColumnInt(next_++);
    return *this;
}

ColumnReader& ColumnReader::operator>>(std::u16string& text) {
    const char* utf8 = statement_.ColumnText(next_++);
    text = utf8 != nullptr ? FromUtf8(utf8) : std::u16string();
    return *this;
}
