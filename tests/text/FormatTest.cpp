#include "text/Format.h"

#include <gtest/gtest.h>

namespace {

TEST(Format, ThePatternsTheProgramWrites) {
    EXPECT_EQ(Format(u"%d", 3200), u"3200");
    EXPECT_EQ(Format(u"%d", -5), u"-5");
    EXPECT_EQ(Format(u"dpi_group%d_value", 2), u"dpi_group2_value");
    EXPECT_EQ(Format(u"%s: v%s.%s", u"Firmware", u"1", u"05"), u"Firmware: v1.05");
    EXPECT_EQ(Format(u"%X", 0x1A2B), u"1A2B");
    EXPECT_EQ(Format(u"%x", 0xC3), u"c3");
    EXPECT_EQ(Format(u"%X%02X", 1, 5), u"105");
    EXPECT_EQ(Format(u"mouse notify data: %02X %02X %02X", 0, 0xAB, 7),
              u"mouse notify data: 00 AB 07");
    EXPECT_EQ(Format(u"%s: %d%%", u"Battery", 75), u"Battery: 75%");
    EXPECT_EQ(Format(u"%d ms", 8), u"8 ms");
    EXPECT_EQ(Format(u"%s", std::u16string(u"text")), u"text");
}

TEST(Format, SignedValuesPrintAsPrintfWould) {
    EXPECT_EQ(Format(u"%X", -1), u"FFFFFFFF");
    EXPECT_EQ(Format(u"%u", -1), u"4294967295");
    EXPECT_EQ(Format(u"%d", INT32_MIN), u"-2147483648");
    EXPECT_EQ(Format(u"%05d", -42), u"-0042");
    EXPECT_EQ(Format(u"%-4d|", 7), u"7   |");
    EXPECT_EQ(Format(u"%4s|", u"ab"), u"  ab|");
}

TEST(Format, MismatchedArgumentsNeverCrash) {
    EXPECT_EQ(Format(u"%d and %s"), u" and ");
    EXPECT_EQ(Format(u"%s", 12), u"12");
    EXPECT_EQ(Format(u"%d", u"34abc"), u"34");
    EXPECT_EQ(Format(u"%s", static_cast<const char16_t*>(nullptr)), u"");
    EXPECT_EQ(Format(u"100%"), u"100%");
    EXPECT_EQ(Format(u"%q %d", 1), u"%q 1");
    EXPECT_EQ(Format(u"%d", 1, 2, 3), u"1");
}

}  // namespace
