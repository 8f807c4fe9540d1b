// The language selector offers the languages config.xml lists, in its own fixed order.

#include "i18n/LanguageSelector.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "app/AppEnvironment.h"
#include "app/Languages.h"

namespace {

class LanguageSelector : public AppEnvironment {};

TEST_F(LanguageSelector, OffersTheAvailableLanguagesInSelectorOrder) {
    using Entries = std::vector<LanguageSelectorEntry>;
    struct Case {
        const char* what;
        std::map<int, int> available;
        Entries expected;
    };
    const Case cases[] = {
        {"all seven, and languages without a caption",
         {{1028, 1}, {1033, 1}, {1041, 1}, {1042, 1}, {1043, 1}, {1049, 1}, {1058, 1}, {2052, 1}},
         {{u"简体中文", 2052},
          {u"English", 1033},
          {u"繁体中文", 1028},
          {u"日本語にほんご", 1041},
          {u"한국어", 1042},
          {u"Українська Мова", 1058},
          {u"Polski", 1043}}},
        {"selector order, not number order",
         {{1028, 1}, {1033, 1}, {1043, 1}, {2052, 1}},
         {{u"简体中文", 2052}, {u"English", 1033}, {u"繁体中文", 1028}, {u"Polski", 1043}}},
        {"Polish is 1043: the usual 1045 offers nothing", {{1045, 1}}, {}},
        {"nothing listed", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetAvailableLanguages(c.available);
        const Entries entries = SelectableLanguages();
        ASSERT_EQ(entries.size(), c.expected.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i].lcid, c.expected[i].lcid);
            EXPECT_EQ(entries[i].caption, c.expected[i].caption);
        }
    }
}

}  // namespace
