#include "text/Utf.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf, RoundTripsEveryKindOfCharacter) {
    // ASCII, two-, three- and four-byte sequences (U+1F600 is a surrogate pair in UTF-16).
    const std::u16string text = u"Az\u00E9\u00DF\u20AC\u4E2D\u6587\U0001F600!";
    const std::string utf8 = ToUtf8(text);
    EXPECT_EQ(utf8, "Az\xC3\xA9\xC3\x9F\xE2\x82\xAC\xE4\xB8\xAD\xE6\x96\x87\xF0\x9F\x98\x80!");
    EXPECT_EQ(FromUtf8(utf8), text);
    EXPECT_EQ(ToUtf8(u""), "");
    EXPECT_EQ(FromUtf8(""), u"");
}

TEST(Utf, LoneSurrogatesBecomeReplacementCharacters) {
    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00, 0};
    EXPECT_EQ(ToUtf8(lone),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    const char16_t trailingHigh[] = {u'x', 0xDBFF, 0};
    EXPECT_EQ(ToUtf8(trailingHigh), "x\xEF\xBF\xBD");
}

TEST(Utf, MalformedUtf8NeverFailsAndNeverSwallowsValidText) {
    struct Case {
        std::string input;
        std::u16string expected;
    };
    const Case cases[] = {
        {"\x80"
         "a",
         u"\uFFFD"
         "a"},  // stray continuation byte
        {"\xC3"
         "a",
         u"\uFFFD"
         "a"},                                                 // truncated two-byte sequence
        {"\xE2\x82", u"\uFFFD"},                               // truncated at the end
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                         // overlong lead byte is invalid
        {"\xE0\x80\xAF", u"\uFFFD"},                           // overlong three-byte form
        {"\xED\xA0\x80", u"\uFFFD"},                           // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD"},                       // beyond U+10FFFF
        {"\xFF\xFE", u"\uFFFD\uFFFD"},                         // bytes that never occur
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},  // zero bytes are kept
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FromUtf8(c.input), c.expected) << "input size " << c.input.size();
    }
}

TEST(Utf, LongAsciiRunsAroundMultibyteText) {
    std::string utf8(100, 'x');
    utf8 += "\xC3\xA9";
    utf8 += std::string(37, 'y');
    std::u16string expected = std::u16string(100, u'x') + u"\u00E9" + std::u16string(37, u'y');
    EXPECT_EQ(FromUtf8(utf8), expected);
}

}  // namespace
