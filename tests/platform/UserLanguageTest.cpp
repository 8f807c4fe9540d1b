// The user's interface language from the locale environment.

#include "platform/UserLanguage.h"

#include <gtest/gtest.h>

#include "platform/ScopedEnv.h"

namespace {

TEST(UserLanguage, LocaleNamesMapToLanguageIdentifiers) {
    struct Case {
        const char* locale;
        int lcid;
    };
    const Case cases[] = {
        {"zh_CN.UTF-8", 2052},
        {"zh_TW.UTF-8", 1028},
        {"zh_HK", 3076},
        {"zh", 2052},
        {"en_US", 1033},
        {"en_GB.UTF-8", 2057},
        {"ja_JP.eucJP", 1041},
        {"ko_KR", 1042},
        {"uk_UA.UTF-8", 1058},
        {"pl_PL", 1045},  // the true identifier, not the 1043 (Dutch) some
                          // lists use for Polish
        {"de_AT@euro", 3079},
        {"de_LU", 1031},  // a territory the table lacks: the language's main
                          // variant
        {"pt_BR", 1046},
        {"pt_PT", 2070},
        {"EN-us", 1033},
        {"fr-ca", 3084},
        {"C", 1033},
        {"C.UTF-8", 1033},
        {"POSIX", 1033},
        {"", 1033},
        {"xx_YY", 1033},
        {"_CN", 1033},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::LocaleToLcid(c.locale), c.lcid) << c.locale;
    }
}

TEST(UserLanguage, LcAllThenLcMessagesThenLangDecide) {
    struct Case {
        const char* lcAll;  // nullptr: unset
        const char* lcMessages;
        const char* lang;
        int lcid;
    };
    const Case cases[] = {
        {"ja_JP", "ko_KR", "zh_CN", 1041},
        {nullptr, "ko_KR", "zh_CN", 1042},
        {"", "", "zh_CN.UTF-8", 2052},
        {nullptr, nullptr, "uk_UA", 1058},
        {nullptr, nullptr, nullptr, 1033},
        {"C", nullptr, "zh_CN", 1033},  // an explicit "C" is a choice, not a gap
    };
    ScopedEnv env;
    for (const Case& c : cases) {
        const std::pair<const char*, const char*> variables[] = {
            {"LC_ALL", c.lcAll}, {"LC_MESSAGES", c.lcMessages}, {"LANG", c.lang}};
        for (const auto& [name, value] : variables) {
            if (value) {
                env.Set(name, value);
            } else {
                env.Unset(name);
            }
        }
        EXPECT_EQ(platform::UserDefaultUILanguage(), c.lcid)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

}  // namespace
