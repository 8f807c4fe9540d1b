#include "update/VersionCompare.h"

#include <cstdint>
#include <vector>

namespace {

std::vector<std::u16string_view> SplitAtDots(std::u16string_view text) {
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t dot = text.find(u'.', start);
        if (dot == std::u16string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, dot - start));
        start = dot + 1;
    }
}

// The number made by the leading digits; saturates instead of wrapping so that an absurdly long
// part still compares as large rather than as some arbitrary value.
std::int64_t LeadingNumber(std::u16string_view part) {
    constexpr std::int64_t kCeiling = INT64_MAX / 10 - 10;
    std::int64_t value = 0;
    for (char16_t c : part) {
        if (c < u'0' || c > u'9') {
            break;
        }
        if (value < kCeiling) {
            value = value * 10 + (c - u'0');
        }
    }
    return value;
}

}  // namespace

int CompareVersions(std::u16string_view current, std::u16string_view latest) {
    std::vector<std::u16string_view> currentParts = SplitAtDots(current);
    std::vector<std::u16string_view> latestParts = SplitAtDots(latest);
    if (currentParts.size() != latestParts.size()) {
        return 2;
    }
    for (std::size_t i = 0; i < currentParts.size(); ++i) {
        std::int64_t have = LeadingNumber(currentParts[i]);
        std::int64_t offered = LeadingNumber(latestParts[i]);
        if (have > offered) {
            return -1;
        }
        if (have < offered) {
            return 1;
        }
    }
    return 0;
}
