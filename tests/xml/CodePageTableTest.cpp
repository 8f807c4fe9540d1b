#include <gtest/gtest.h>

#include <iconv.h>
#include "support/Printable.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "xml/CodePageTable.h"

namespace {

struct NameCase {
    std::u16string_view name;
    int codePage;
};

void ExpectCodePages(const std::vector<NameCase>& cases) {
    for (const NameCase& c : cases) {
        EXPECT_EQ(CodePageFromName(c.name), c.codePage) << "name \"" << Printable(c.name) << "\"";
    }
}

std::u16string ToUpperAscii(std::u16string_view name) {
    std::u16string out(name);
    for (char16_t& c : out) {
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return out;
}

// Capitalizes every other letter, starting with the first.
std::u16string ToMixedCase(std::u16string_view name) {
    std::u16string out(name);
    for (std::size_t i = 0; i < out.size(); i += 2) {
        if (out[i] >= u'a' && out[i] <= u'z')
            out[i] = static_cast<char16_t>(out[i] - u'a' + u'A');
    }
    return out;
}

bool StartsWithOwnUtf32Prefix(std::u16string_view name) {
    return name.substr(0, 6) == u"UTF-32";
}

std::vector<CodePageTableRow> AllRows() {
    std::vector<CodePageTableRow> rows;
    for (std::size_t i = 0; i < CodePageTableSize(); ++i)
        rows.push_back(CodePageTableRowAt(i));
    return rows;
}

TEST(CodePageTableTest, HasItsDocumentedSize) {
    EXPECT_EQ(CodePageTableSize(), 365u);
    EXPECT_EQ(CodePageBucketCount(), 155u);
}

TEST(CodePageTableTest, MapsTheNamesDocumentsUse) {
    ExpectCodePages({
        {u"utf-8", 65001},       {u"utf8", 65001},        {u"unicode-1-1-utf-8", 65001},
        {u"utf-16", 1200},       {u"utf-16le", 1200},     {u"ucs-2", 1200},
        {u"unicode", 1200},      {u"utf-16be", 1201},     {u"unicodefffe", 1201},
        {u"utf-32", 12000},      {u"utf-7", 65000},       {u"us-ascii", 20127},
        {u"ascii", 20127},       {u"iso-8859-1", 28591},  {u"latin1", 28591},
        {u"windows-1252", 1252}, {u"ms-ansi", 1252},      {u"x-ansi", 1252},
        {u"gb2312", 936},        {u"gbk", 936},           {u"gb18030", 54936},
        {u"big5", 950},          {u"shift_jis", 932},     {u"euc-kr", 51949},
        {u"euc-jp", 20932},      {u"koi8-r", 20866},      {u"macintosh", 10000},
        {u"ibm037", 37},         {u"iso-8859-15", 28605}, {u"windows-874", 874},
    });
}

// Every row must be reachable through the buckets, whatever the ASCII case of the name; with the
// row count checked above, distinct names also prove that no row is a duplicate.
TEST(CodePageTableTest, FindsEveryRowInAnyAsciiCase) {
    std::set<std::u16string_view> names;
    for (const CodePageTableRow& row : AllRows()) {
        SCOPED_TRACE(Printable(row.name));
        EXPECT_TRUE(names.insert(row.name).second) << "duplicate name";
        EXPECT_TRUE(std::none_of(row.name.begin(), row.name.end(), [](char16_t c) {
            return c >= u'A' && c <= u'Z';
        })) << "stored with a capital letter";
        EXPECT_EQ(CodePageFromName(row.name), row.codePage);
        for (const std::u16string& spelling : {ToUpperAscii(row.name), ToMixedCase(row.name)}) {
            const int expected =
                StartsWithOwnUtf32Prefix(spelling) ? kCodePageOwnUtf32 : row.codePage;
            EXPECT_EQ(CodePageFromName(spelling), expected) << Printable(spelling);
        }
    }
    EXPECT_EQ(names.size(), CodePageTableSize());
}

TEST(CodePageTableTest, FoldsOnlyAsciiLetters) {
    ExpectCodePages({
        {u"UTF-8", 65001},
        {u"Utf-8", 65001},
        {u"US-ASCII", 20127},
        {u"Shift_JIS", 932},
        {u"Windows-1252", 1252},
        {u"UnicodeFFFE", 1201},
        // Capital I with dot, Kelvin sign and full-width letters fold to ASCII under Unicode rules,
        // but must not here.
        {u"\u0130so-8859-1", 0},
        {u"\u212Aoi8-r", 0},
        {u"\uFF35\uFF34\uFF26-8", 0},
    });
}

TEST(CodePageTableTest, CapitalUtf32PrefixSelectsOwnConversion) {
    ExpectCodePages({
        {u"UTF-32", kCodePageOwnUtf32},
        {u"UTF-32LE", kCodePageOwnUtf32},
        {u"UTF-32BE", kCodePageOwnUtf32},
        {u"UTF-32-anything", kCodePageOwnUtf32},
        {u"utf-32", 12000},
        {u"Utf-32", 12000},
        {u"utf-32be", 12001},
        {u"uTF-32BE", 12001},
        {u"UTF-3", 0},
    });
}

TEST(CodePageTableTest, RejectsUnknownAndMalformedNames) {
    const std::u16string limit(100, u'a');
    ExpectCodePages({
        {u"", 0},
        {u"utf-9", 0},
        {u"utf", 0},
        {u"utf-8 ", 0},
        {u" utf-8", 0},
        {std::u16string_view(u"utf-8\0", 6), 0},
        {std::u16string_view(u"utf-8", 4), 0},
        // Same code-unit sum, so same bucket, as "utf-8" and "latin1".
        {u"8-ftu", 0},
        {u"nital1", 0},
        // Lower-casing by "c | 0x20" would take DEL for '_' and CR for '-', and the two changes
        // keep the sum of "ks_c_5601-1987".
        {u"ks\u007Fc_5601\u000D1987", 0},
        {std::u16string_view(limit).substr(0, 99), 0},
        {limit, 0},
    });
    // Names of 100 characters or more are refused outright, even where the sum would wrap.
    const std::u16string huge(70000, u'\uFFFF');
    EXPECT_EQ(CodePageFromName(huge), 0);
}

// The documented hash (ASCII-folded code-unit sum modulo the bucket count) must spread the names
// so that a lookup compares only a handful of them.
TEST(CodePageTableTest, HashSpreadsNamesOverBuckets) {
    std::map<std::size_t, int> perBucket;
    for (const CodePageTableRow& row : AllRows()) {
        std::size_t sum = 0;
        for (char16_t c : row.name)
            sum += c;  // stored names are already lower case
        const std::size_t bucket = sum % CodePageBucketCount();
        ASSERT_LT(bucket, CodePageBucketCount());
        ++perBucket[bucket];
    }
    int longest = 0;
    for (const auto& [bucket, count] : perBucket)
        longest = std::max(longest, count);
    EXPECT_GE(perBucket.size(), 120u);
    EXPECT_LE(longest, 10);
}

// Encodes UTF-16 text with iconv into `iconvName`, including any closing shift sequence.
std::string Encode(const char* iconvName, std::u16string_view text) {
    iconv_t cd = iconv_open(iconvName, "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return "<iconv_open failed>";
    std::string in;
    for (char16_t c : text) {
        in += static_cast<char>(c & 0xFF);
        in += static_cast<char>(c >> 8);
    }
    std::string out(64, '\0');
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) &&
                    iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!ok)
        return "<iconv failed>";
    out.resize(out.size() - outLeft);
    return out;
}

// Every converter named must exist in both directions, and the code pages without one are exactly
// those the table is known to lack a glibc converter for.
TEST(CodePageTableTest, IconvNamesOpenForEveryCodePage) {
    std::set<int> codePages;
    for (const CodePageTableRow& row : AllRows())
        codePages.insert(row.codePage);
    std::set<int> withoutConverter;
    for (int codePage : codePages) {
        const char* name = IconvNameForCodePage(codePage);
        if (name == nullptr) {
            withoutConverter.insert(codePage);
            continue;
        }
        SCOPED_TRACE(std::to_string(codePage) + " " + name);
        for (const auto& [to, from] : {std::pair{name, "UTF-16LE"}, std::pair{"UTF-16LE", name}}) {
            iconv_t cd = iconv_open(to, from);
            EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1))
                << "iconv_open(" << to << ", " << from << ")";
            if (cd != reinterpret_cast<iconv_t>(-1))
                iconv_close(cd);
        }
    }
    const std::set<int> expectedWithout = {720,   10001, 10002, 10003, 10004, 10005, 10006, 10008,
                                           10010, 10021, 10081, 10082, 20105, 20838, 20924, 52936};
    EXPECT_EQ(withoutConverter, expectedWithout);
    EXPECT_EQ(IconvNameForCodePage(0), nullptr);
    EXPECT_EQ(IconvNameForCodePage(12345), nullptr);
}

// The converter must be the right one, not merely one that opens: sample characters whose bytes
// differ between neighbouring code pages (byte orders, EBCDIC variants, Cyrillic tables).
TEST(CodePageTableTest, IconvNamesEncodeAsTheCodePage) {
    struct EncodeCase {
        int codePage;
        std::u16string_view text;
        std::string_view bytes;
    };
    const EncodeCase cases[] = {
        {1252, u"\u20AC", "\x80"},
        {28591, u"\u00E9", "\xE9"},
        {28605, u"\u20AC", "\xA4"},
        {20127, u"A", "A"},
        {37, u"A1", "\xC1\xF1"},
        {500, u"[]", "\x4A\x5A"},
        {20273, u"\u00C4", "\x4A"},
        {1140, u"\u20AC", "\x9F"},
        {437, u"\u00E9", "\x82"},
        {850, u"\u00E9", "\x82"},
        {866, u"\u0416", "\x86"},
        {1251, u"\u0416", "\xC6"},
        {20866, u"\u0416", "\xF6"},
        {21866, u"\u0407", "\xB7"},
        {10000, u"\u00E9", "\x8E"},
        {10007, u"\u0416", "\x86"},
        {1250, u"\u0159", "\xF8"},
        {28592, u"\u0159", "\xF8"},
        {28597, u"\u03A9", "\xD9"},
        {1255, u"\u05D0", "\xE0"},
        {874, u"\u0E01", "\xA1"},
        {932, u"\u3042", "\x82\xA0"},
        {20932, u"\u3042", "\xA4\xA2"},
        {50220, u"\u3042", "\x1B$B$\"\x1B(B"},
        {936, u"\u4E2D", "\xD6\xD0"},
        {54936, u"\u4E2D\xD800\xDC00", "\xD6\xD0\x90\x30\x81\x30"},
        {950, u"\u4E2D", "\xA4\xA4"},
        {949, u"\uD55C", "\xC7\xD1"},
        {51949, u"\uD55C", "\xC7\xD1"},
        {1200, u"A\u00E9", std::string_view("A\0\xE9\0", 4)},
        {1201, u"A\u00E9", std::string_view("\0A\0\xE9", 4)},
        {12000, u"A", std::string_view("A\0\0\0", 4)},
        {12001, u"A", std::string_view("\0\0\0A", 4)},
        {65001, u"\u00E9", "\xC3\xA9"},
    };
    for (const EncodeCase& c : cases) {
        const char* name = IconvNameForCodePage(c.codePage);
        ASSERT_NE(name, nullptr) << c.codePage;
        EXPECT_EQ(Encode(name, c.text), c.bytes) << c.codePage << " via " << name;
    }
}

}  // namespace
