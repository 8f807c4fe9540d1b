#include "text/Numbers.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(Numbers, DecimalStopsAtTheFirstNonDigit) {
    struct Case {
        std::u16string_view text;
        int expected;
    };
    const Case cases[] = {
        {u"", 0},
        {u"abc", 0},
        {u"42", 42},
        {u"3200", 3200},
        {u"12abc", 12},
        {u" 7", 7},
        {u"-15", -15},
        {u"+8", 8},
        {u"1.5", 1},
        {u"- 3", 0},
        {u"0x10", 0},
        {u"2147483647", INT_MAX},
        {u"99999999999", INT_MAX},
        {u"-2147483648", INT_MIN},
        {u"-99999999999", INT_MIN},
        {u"\uFF11", 0},  // full-width digits are not digits
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecimalToInt(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
    }
}

TEST(Numbers, HexadecimalAcceptsAnOptionalPrefix) {
    struct Case {
        std::u16string_view text;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {u"1A2B", 0x1A2B},
        {u"0x1A2B", 0x1A2B},
        {u"0X1a2b", 0x1A2B},
        {u"", 0},
        {u"0x", 0},
        {u"zz", 0},
        {u"12G4", 0x12},
        {u"ffffffff", 0xFFFFFFFF},
        {u"1ffffffff", 0xFFFFFFFF},
        {u"  0x0105", 0x105},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HexToUInt(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
    }
}

}  // namespace
