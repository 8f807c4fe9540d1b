#pragma once

// Maps the encoding name of an XML declaration (or one given by the caller) to a Windows code page
// number, and a Windows code page number to the glibc iconv converter that handles it.

#include <cstddef>
#include <string_view>

// Code page number the class uses for its own UTF-32 conversion (not a Windows code page).
inline constexpr int kCodePageOwnUtf32 = 65005;

// Windows code page for an encoding name: 0 for an empty or unknown name (the caller then uses
// the system ANSI code page); kCodePageOwnUtf32 when the name's first six characters are exactly
// "UTF-32" (capitals, as written; checked before the table).
int CodePageFromName(std::u16string_view name);

// Number of rows and of buckets, for tests.
std::size_t CodePageTableSize();
std::size_t CodePageBucketCount();

// One row of the name table: the name in lower case and its code page.
struct CodePageTableRow {
    std::u16string_view name;
    int codePage;
};

// Row `index` of the name table (index < CodePageTableSize()), for tests.
CodePageTableRow CodePageTableRowAt(std::size_t index);

// The iconv (glibc) name that converts this Windows code page, or nullptr when glibc has none.
const char* IconvNameForCodePage(int codePage);
