// Reading values of initialisation files: encodings, line ends, names, quotes, comments, which
// line counts, the 259-unit cut and missing pieces.

#include "i18n/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/Printable.h"
#include "support/TempDir.h"
#include "text/Utf.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::string Utf16Le(std::u16string_view text) {
    return Utf16(text, false);
}

struct Case {
    const char* what;
    std::string bytes;
    std::u16string section;
    std::u16string key;
    std::u16string expected;
};

class IniFile : public ::testing::Test {
protected:
    std::u16string ReadFrom(std::string_view bytes, std::u16string_view section,
                            std::u16string_view key) {
        dir_.Write("file.ini", bytes);
        return ReadIniString(dir_.File("file.ini"), section, key);
    }

    void Check(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            EXPECT_EQ(Printable(ReadFrom(c.bytes, c.section, c.key)), Printable(c.expected));
        }
    }

    TempDir dir_;
};

TEST_F(IniFile, ReadsEveryEncodingAndLineEnd) {
    const std::vector<Case> cases = {
        {"UTF-8 without mark", "[LAN]\n1=Hello\n", u"LAN", u"1", u"Hello"},
        {"UTF-8 with mark", "\xEF\xBB\xBF[LAN]\r\n1=你好\r\n", u"LAN", u"1", u"你好"},
        {"UTF-16LE with mark", Utf16Le(u"[LAN]\r\n1=日本語\r\n2=x\r\n"), u"LAN", u"1", u"日本語"},
        {"UTF-16LE, non-BMP text", Utf16Le(u"[LAN]\r\n1=a😀b\r\n"), u"LAN", u"1", u"a😀b"},
        {"UTF-16BE with mark", Utf16(u"[LAN]\n1=Українська\n", true), u"LAN", u"1", u"Українська"},
        {"UTF-16LE with an odd last byte", Utf16Le(u"[LAN]\n1=x\n") + "A", u"LAN", u"1", u"x"},
        {"CR line ends", "[LAN]\r1=a\r2=b\r", u"LAN", u"2", u"b"},
        {"CR LF line ends", "[LAN]\r\n1=a\r\n2=b\r\n", u"LAN", u"2", u"b"},
        {"mixed line ends, no final line end", "[LAN]\r\n1=a\r2=b\n3=c", u"LAN", u"3", u"c"},
        {"bytes that are no UTF-8 read as U+FFFD",
         "[LAN]\n1=a\xFF\xFE"
         "b\n",
         u"LAN", u"1", u"a\uFFFD\uFFFDb"},
        {"a broken value leaves the others readable", "[LAN]\n1=\xC3\n2=ok\n", u"LAN", u"2", u"ok"},
        // Without its mark UTF-16 is taken for UTF-8: nothing matches, nothing breaks.
        {"UTF-16 without mark", Utf16Le(u"[LAN]\n1=x\n").substr(2), u"LAN", u"1", u""},
        {"a mark and nothing else", "\xFF\xFE", u"LAN", u"1", u""},
        {"empty file", "", u"LAN", u"1", u""},
    };
    Check(cases);
}

TEST_F(IniFile, MatchesNamesAndTakesValuesAsWindowsDoes) {
    const std::string sections =
        "1=before any section\n"
        "[Other]\n"
        "1=other\n"
        "  [ lan ]  ; trailing words\n"
        "\tKey = \t value with blanks \t\n"
        "; 2=commented out\n"
        "   ;3=indented comment\n"
        "4 has no equals sign\n"
        "4=four\n"
        "10=ten\n"
        "1=one\n"
        "1=second one\n"
        "5=a=b\n"
        "6=\n"
        "7=ab\0cd\n"
        "[Third]\n"
        "8=third\n"
        "[LAN]\n"
        "9=in the second LAN section\n"s;  // "s": the zero character is part of the text
    const std::vector<Case> cases = {
        {"section and key names ignore ASCII case and blanks", sections, u"LAN", u"KEY",
         u"value with blanks"},
        {"requested names are trimmed too", sections, u" LAN\t", u" key ", u"value with blanks"},
        {"other sections are not searched", sections, u"Other", u"Key", u""},
        {"a line before any section belongs to none", sections, u"", u"1", u""},
        {"the first line of a key counts", sections, u"LAN", u"1", u"one"},
        {"a key is matched whole", sections, u"LAN", u"10", u"ten"},
        {"a line without '=' holds no value", sections, u"LAN", u"4", u"four"},
        {"comment lines are skipped", sections, u"LAN", u"2", u""},
        {"indented comment lines are skipped", sections, u"LAN", u"3", u""},
        {"the value runs past further '='", sections, u"LAN", u"5", u"a=b"},
        {"an empty value", sections, u"LAN", u"6", u""},
        {"a zero character ends the value", sections, u"LAN", u"7", u"ab"},
        {"a later section", sections, u"third", u"8", u"third"},
        {"only the first section of a name is searched", sections, u"LAN", u"9", u""},
        {"no such key", sections, u"LAN", u"99", u""},
        {"no such section", sections, u"Missing", u"1", u""},
        {"a '[' without ']' starts no section", "[LAN]\n[broken\n1=x\n", u"LAN", u"1", u"x"},
        {"non-ASCII names compare exactly", "[Язык]\n1=x\n", u"Язык", u"1", u"x"},
    };
    Check(cases);
}

TEST_F(IniFile, RemovesOneMatchingPairOfQuotes) {
    const std::vector<Case> cases = {
        {"double quotes keep the blanks inside", "[s]\nk= \"  quoted  \" \n", u"s", u"k",
         u"  quoted  "},
        {"single quotes", "[s]\nk='single'\n", u"s", u"k", u"single"},
        {"only one pair", "[s]\nk=\"\"twice\"\"\n", u"s", u"k", u"\"twice\""},
        {"quotes that do not match stay", "[s]\nk=\"mixed'\n", u"s", u"k", u"\"mixed'"},
        {"a lone quote stays", "[s]\nk=\"\n", u"s", u"k", u"\""},
        {"an opening quote alone stays", "[s]\nk=\"open\n", u"s", u"k", u"\"open"},
        {"quotes inside stay", "[s]\nk=say \"hi\"\n", u"s", u"k", u"say \"hi\""},
        {"empty quotes", "[s]\nk=\"\"\n", u"s", u"k", u""},
        {"UTF-16 quotes", Utf16Le(u"[s]\nk='引用'\n"), u"s", u"k", u"引用"},
    };
    Check(cases);
}

TEST_F(IniFile, CutsValuesAt259Units) {
    const std::u16string x300(300, u'x');
    const std::u16string x259(259, u'x');
    const std::u16string han300(300, u'汉');
    const std::u16string a258(258, u'a');
    const std::u16string a257(257, u'a');
    const std::vector<Case> cases = {
        {"300 characters, UTF-8", "[s]\nk=" + ToUtf8(x300) + "\n", u"s", u"k", x259},
        {"300 characters, UTF-16", Utf16Le(u"[s]\nk=" + x300 + u"\n"), u"s", u"k", x259},
        {"300 Chinese characters", "[s]\nk=" + ToUtf8(han300) + "\n", u"s", u"k",
         han300.substr(0, 259)},
        {"quotes go before the cut", "[s]\nk=\"" + ToUtf8(x300) + "\"\n", u"s", u"k", x259},
        {"259 characters stay whole", "[s]\nk=" + ToUtf8(x259) + "\n", u"s", u"k", x259},
        {"a pair ending at unit 259 stays", "[s]\nk=" + ToUtf8(a257) + "😀\n", u"s", u"k",
         a257 + u"😀"},
        {"a pair the cut would split goes whole", "[s]\nk=" + ToUtf8(a258) + "😀b\n", u"s", u"k",
         a258},
    };
    Check(cases);
}

TEST_F(IniFile, MissingOrUnreadableFilesGiveEmptyText) {
    EXPECT_EQ(ReadIniString(dir_.File("absent.ini"), u"LAN", u"1"), u"");
    fs::create_directories(dir_.File("folder.ini"));
    EXPECT_EQ(ReadIniString(dir_.File("folder.ini"), u"LAN", u"1"), u"");
    EXPECT_EQ(ReadIniString({}, u"LAN", u"1"), u"");
}

TEST_F(IniFile, ReadsTheFileAfreshEveryTime) {
    EXPECT_EQ(ReadFrom("[LAN]\n1=old\n", u"LAN", u"1"), u"old");
    EXPECT_EQ(ReadFrom("[LAN]\n1=new\n", u"LAN", u"1"), u"new");
    fs::remove(dir_.File("file.ini"));
    EXPECT_EQ(ReadIniString(dir_.File("file.ini"), u"LAN", u"1"), u"");
}

}  // namespace
