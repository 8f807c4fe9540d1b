// The start-up language choice: stored language, the user's locale, and what gets stored.

#include "app/LanguageChoice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "app/AppEnvironment.h"
#include "app/Languages.h"

namespace {

namespace fs = std::filesystem;

class LanguageChoice : public AppEnvironment {};

TEST_F(LanguageChoice, StoredLanguageLocaleAndListDecide) {
    constexpr const char* kNoKey = nullptr;
    constexpr const char* kBrokenKey = "<folder>";  // the key exists but cannot be opened
    struct Case {
        const char* what;
        const char* keyFile;  // the key's name=value lines
        const char* locale;   // LANG
        std::map<int, int> offered;
        int chosen;
        const char* storedAfterwards;  // the key's lines afterwards (ignored for a broken key)
    };
    const Case cases[] = {
        {"first start, locale offered",
         kNoKey,
         "zh_CN.UTF-8",
         {{1033, 1}, {2052, 1}},
         2052,
         "LCID=2052\n"},
        {"no LCID, locale not offered: English stored",
         "",
         "ja_JP",
         {{1033, 1}, {2052, 1}},
         1033,
         "LCID=1033\n"},
        {"stored LCID no longer offered: English stored",
         "LCID=1041\n",
         "ja_JP",
         {{1033, 1}, {2052, 1}},
         1033,
         "LCID=1033\n"},
        {"LCID 0 and an offered locale: the locale stored",
         "LCID=0\nDeviceType=101\n",
         "ko_KR",
         {{1033, 1}, {1042, 1}},
         1042,
         "LCID=1042\nDeviceType=101\n"},
        {"stored LCID offered: kept",
         "LCID=2052\n",
         "en_US",
         {{1033, 1}, {2052, 1}},
         2052,
         "LCID=2052\n"},
        {"stored LCID not a number: as if none",
         "LCID=chinese\n",
         "uk_UA",
         {{1033, 1}, {1058, 1}},
         1058,
         "LCID=1058\n"},
        {"nothing offered (no config.xml): English",
         "LCID=2052\n",
         "zh_CN",
         {},
         1033,
         "LCID=1033\n"},
        // Polish locales map to 1045, so a list that names Polish 1043 does not match them.
        {"Polish locale, list with 1043",
         kNoKey,
         "pl_PL",
         {{1033, 1}, {1043, 1}},
         1033,
         "LCID=1033\n"},
        {"key cannot be opened, 2052 offered",
         kBrokenKey,
         "en_US",
         {{1033, 1}, {2052, 1}},
         2052,
         nullptr},
        {"key cannot be opened, 2052 not offered", kBrokenKey, "en_US", {{1033, 1}}, 1033, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Config());
        if (c.keyFile == kBrokenKey) {
            fs::create_directories(KeyFile());
        } else if (c.keyFile != kNoKey) {
            WriteKeyFile(c.keyFile);
        }
        env_.Set("LANG", c.locale);
        SetAvailableLanguages(c.offered);
        SetCurrentLanguage(kInitialLanguage);

        EXPECT_EQ(ChooseLanguage(), c.chosen);
        EXPECT_EQ(GetCurrentLanguage(), c.chosen);
        if (c.keyFile == kBrokenKey) {
            EXPECT_TRUE(fs::is_directory(KeyFile()));
        } else {
            EXPECT_EQ(KeyValues(), c.storedAfterwards);
        }
    }
}

}  // namespace
