// The start-up read of config.xml: languages, default language and application name, with the
// forward-only search and the documents that are refused.

#include "app/AppConfig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "app/AppEnvironment.h"
#include "app/Languages.h"
#include "text/Utf.h"

namespace {

// The bytes of a UTF-16 little-endian file with its byte-order mark.
std::string Utf16LittleEndian(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

class AppConfig : public AppEnvironment {
protected:
    // State a failed read must not touch (the language list is always emptied).
    void SetSentinels() {
        SetAvailableLanguages({{1049, 1}});
        SetCurrentLanguage(1055);
    }
};

TEST_F(AppConfig, ReadsLanguagesDefaultLanguageAndName) {
    struct Case {
        const char* what;
        std::optional<std::string> file;  // nullopt: no config.xml at all
        bool read;
        std::map<int, int> languages;
        int currentLanguage;
        std::u16string name;
    };
    const std::map<int, int> none;
    const Case cases[] = {
        {"missing file", std::nullopt, false, none, 1055, u"Kestrel"},
        {"not XML", "this is not XML\n", false, none, 1055, u"Kestrel"},
        {"unclosed root", "<config><software caption=\"X\"/>", false, none, 1055, u"Kestrel"},
        {"second root",
         "<config><software caption=\"X\"/></config><config><language.info default_lan=\"1\"/>"
         "</config>",
         false, none, 1055, u"Kestrel"},
        {"root not config",
         "<settings><language.info default_lan=\"1033\"><lan value=\"1033\"/></language.info>"
         "<software caption=\"X\"/></settings>",
         false, none, 1055, u"Kestrel"},
        {"complete, languages in LCID order",
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         "<config>\n"
         " <language.info default_lan=\"1033\">\n"
         "  <lan value=\"2052\" name=\"zh\"/><lan value=\"1033\"/><lan value=\"1041\"/>\n"
         "  <lan value=\"1033\"/>\n"
         " </language.info>\n"
         " <device><mouse name=\"M1\" device_type=\"3\"/></device>\n"
         " <software caption=\"Kestrel Pro\" version=\"1.0.2\"><website url=\"x\"/></software>\n"
         "</config>\n",
         true,
         {{1033, 1}, {1041, 1}, {2052, 1}},
         1033,
         u"Kestrel Pro"},
        {"software before device still names the program",
         "<config><language.info default_lan=\"2052\"><lan value=\"2052\"/></language.info>"
         "<software caption=\"Early\"/><device/></config>",
         true,
         {{2052, 1}},
         2052,
         u"Early"},
        {"software before language.info is passed over",
         "<config><software caption=\"TooEarly\"/><language.info default_lan=\"1041\">"
         "<lan value=\"1041\"/></language.info></config>",
         true,
         {{1041, 1}},
         1041,
         u"Kestrel"},
        {"missing caption keeps the default name",
         "<config><language.info default_lan=\"1033\"/><software version=\"2\"/></config>", true,
         none, 1033, u"Kestrel"},
        {"no language.info: name only",
         "<config><unknown a=\"1\"/><software caption=\"Only\"/></config>", true, none, 1055,
         u"Only"},
        {"lan without a usable value is skipped, default_lan missing reads 0",
         "<config><language.info><lan/><lan value=\"x\"/><lan value=\"1042\"/></language.info>"
         "</config>",
         true,
         {{1042, 1}},
         0,
         u"Kestrel"},
        {"UTF-16 file with a Chinese name",
         Utf16LittleEndian(u"<config><software caption=\"\u9ED1\u4F53\"/></config>"), true, none,
         1055, u"\u9ED1\u4F53"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetState();
        SetSentinels();
        std::filesystem::remove(dir_.File("config.xml"));
        if (c.file) {
            dir_.Write("config.xml", *c.file);
        }
        EXPECT_EQ(ReadAppConfig(dir_.Path()), c.read);
        EXPECT_EQ(GetAvailableLanguages(), c.languages);
        EXPECT_EQ(GetCurrentLanguage(), c.currentLanguage);
        EXPECT_EQ(ToUtf8(Manager::GetDeviceName()), ToUtf8(c.name));
    }
}

TEST_F(AppConfig, FolderWithANonAsciiNameIsFound) {
    const std::filesystem::path folder = dir_.Path() / "\xE7\xA8\x8B\xE5\xBA\x8F";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "config.xml") << "<config><software caption=\"Found\"/></config>";
    EXPECT_TRUE(ReadAppConfig(folder));
    EXPECT_EQ(Manager::GetDeviceName(), u"Found");
}

TEST_F(AppConfig, EveryReadStartsFromAnEmptyLanguageList) {
    dir_.Write("config.xml",
               "<config><language.info default_lan=\"1033\"><lan value=\"1033\"/>"
               "<lan value=\"2052\"/></language.info></config>");
    ASSERT_TRUE(ReadAppConfig(dir_.Path()));
    dir_.Write("config.xml",
               "<config><language.info default_lan=\"1041\"><lan value=\"1041\"/>"
               "</language.info></config>");
    ASSERT_TRUE(ReadAppConfig(dir_.Path()));
    EXPECT_EQ(GetAvailableLanguages(), (std::map<int, int>{{1041, 1}}));
}

}  // namespace
