#pragma once

#include <string_view>

// Compares two dotted version texts part by part, each part read as the decimal number its leading
// digits make (0 when it has none). Returns 0 when they are equal, 1 when `latest` is higher, -1
// when it is lower, and 2 when the two have different numbers of parts, which callers also read as
// "a newer version exists". Empty parts count: "1..2" has three.
int CompareVersions(std::u16string_view current, std::u16string_view latest);
