#pragma once

#include <cstddef>
#include <string_view>

// Names the program compares the way Windows compares registry and initialisation-file names:
// ignoring the case of the ASCII letters only.

template <typename Char>
constexpr Char FoldAscii(Char c) {
    return (c >= Char('A') && c <= Char('Z')) ? Char(c - Char('A') + Char('a')) : c;
}

template <typename Char>
constexpr bool EqualsIgnoringAsciiCase(std::basic_string_view<Char> a,
                                       std::basic_string_view<Char> b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}
