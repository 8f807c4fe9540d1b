#include "text/Numbers.h"

#include <limits>

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

}  // namespace

int DecimalToInt(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulate as a negative number so that INT_MIN itself is reachable.
    constexpr std::int64_t kLimit = std::int64_t(std::numeric_limits<int>::max()) + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - u'0');
        if (magnitude > kLimit) {
            magnitude = kLimit;
        }
    }
    if (negative) {
        return static_cast<int>(-magnitude);
    }
    return magnitude >= kLimit ? std::numeric_limits<int>::max() : static_cast<int>(magnitude);
}

std::uint32_t HexToUInt(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        i += 2;
    }
    std::uint64_t value = 0;
    for (int digit; i < text.size() && (digit = HexDigitValue(text[i])) >= 0; ++i) {
        value = value * 16 + digit;
        if (value > std::numeric_limits<std::uint32_t>::max()) {
            value = std::numeric_limits<std::uint32_t>::max();
        }
    }
    return static_cast<std::uint32_t>(value);
}
