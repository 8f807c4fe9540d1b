// Default names shown in the current language: profile captions, macro-list names and the names
// button assignments carry.

#include "i18n/DefaultNames.h"

#include <gtest/gtest.h>

#include <string>

#include "app/Languages.h"
#include "i18n/LanguageEnvironment.h"
#include "support/Printable.h"

namespace {

// Every language the rules name, and three they do not.
constexpr int kLanguages[] = {1028, 1033, 1041, 1049, 2052, 1042, 1058, 1043};

struct Case {
    int language;
    std::u16string_view name;
    std::u16string_view expected;
};

class DefaultNames : public LanguageEnvironment {
protected:
    // Each language file marks its words with its number, so a word from the wrong file shows.
    DefaultNames() {
        for (int lcid : kLanguages) {
            WriteLanguage(lcid, Format(u"31={copy-%d}\r\n61={profile-%d}\r\n351={custom-%d}\r\n",
                                       lcid, lcid, lcid));
        }
    }

    template <typename Rule>
    void Check(const Case* begin, const Case* end, Rule rule) {
        for (const Case* c = begin; c != end; ++c) {
            SCOPED_TRACE(testing::Message() << c->language << " " << Printable(c->name));
            SetCurrentLanguage(c->language);
            EXPECT_EQ(Printable(rule(c->name, Languages())), Printable(c->expected));
        }
    }
};

TEST_F(DefaultNames, AssignmentNamesInTheLanguagesWithRules) {
    const auto rule = [](std::u16string_view name, const std::filesystem::path& folder) {
        return LocaliseAssignmentName(name, folder);
    };
    const Case cases[] = {
        // English: the custom words of the others become text 351, their copy words "Copy".
        {1033, u"自定义12", u"{custom-1033}12"},
        {1033, u"自定義3", u"{custom-1033}3"},
        {1033, u"カスタム4", u"{custom-1033}4"},
        {1033, u"Пользователь5", u"{custom-1033}ель5"},
        {1033, u"Custom7", u"Custom7"},
        {1033, u"custom7", u"custom7"},
        {1033, u"My 自定义", u"My 自定义"},
        {1033, u"Macro 复制", u"Macro  Copy"},  // the space before the word stays
        {1033, u"Name 複製", u"Name  Copy"},
        {1033, u"Имя Копировать", u"Имя  Copy"},
        {1033, u"Name Copy", u"Name Copy"},
        {1033, u"复制x", u"复制x"},
        {1033, u"自定义1 复制", u"{custom-1033}1  Copy"},
        {1033, u"复制 of A 复制", u" Copy"},  // cut at the first occurrence of the word
        {1033, u"", u""},
        // Simplified Chinese: its own "自定义" stays.
        {2052, u"Custom5", u"{custom-2052}5"},
        {2052, u"自定义5", u"自定义5"},
        {2052, u"自定義5", u"{custom-2052}5"},
        {2052, u"Macro Copy", u"Macro  复制"},
        {2052, u"宏 复制", u"宏 复制"},
        {2052, u"CustomX Copy", u"{custom-2052}X  复制"},
        {2052, u"Copy Copy", u" 复制"},
        {2052, u"A Копировать", u"A  复制"},
        // Traditional Chinese.
        {1028, u"自定义1", u"{custom-1028}1"},
        {1028, u"Custom1", u"{custom-1028}1"},
        {1028, u"Пользоват", u"{custom-1028}"},
        {1028, u"自定義1", u"自定義1"},
        {1028, u"A Copy", u"A  複製"},
        {1028, u"A 复制", u"A  複製"},
        {1028, u"A 複製", u"A 複製"},
        // Japanese.
        {1041, u"自定義1", u"{custom-1041}1"},
        {1041, u"Custom1", u"{custom-1041}1"},
        {1041, u"カスタム1", u"カスタム1"},
        {1041, u"A Копировать", u"A  複製"},
        {1041, u"A Copy", u"A  複製"},
        {1041, u"A 複製", u"A 複製"},
        // Russian: two copy words only.
        {1049, u"カスタム1", u"{custom-1049}1"},
        {1049, u"自定義1", u"{custom-1049}1"},
        {1049, u"Пользоват1", u"Пользоват1"},
        {1049, u"A Copy", u"A  Копировать"},
        {1049, u"A 复制", u"A  Копировать"},
        {1049, u"A 複製", u"A 複製"},
        {1049, u"A Копировать", u"A Копировать"},
    };
    Check(std::begin(cases), std::end(cases), rule);
}

TEST_F(DefaultNames, AssignmentNamesStayInOtherLanguages) {
    const std::u16string_view names[] = {u"自定义1",  u"Custom1",     u"自定義1", u"カスタム1",
                                         u"A Copy",   u"A 复制",      u"A 複製",  u"A Копировать",
                                         u"Profile1", u"Custom1 Copy"};
    for (int language : {1042, 1058, 1043, 1045, 0}) {
        SetCurrentLanguage(language);
        for (std::u16string_view name : names) {
            SCOPED_TRACE(testing::Message() << language << " " << Printable(name));
            EXPECT_EQ(LocaliseAssignmentName(name, Languages()), name);
        }
    }
}

TEST_F(DefaultNames, MacroListNamesInEveryLanguage) {
    const auto rule = [](std::u16string_view name, const std::filesystem::path& folder) {
        return MacroListName(name, folder);
    };
    const Case cases[] = {
        {1033, u"Custom1", u"{custom-1033}1"},
        {1033, u"自定义2", u"{custom-1033}2"},
        {1033, u"Custom", u"{custom-1033}"},
        {1033, u"Macro Copy", u"Macro  {copy-1033}"},
        {1033, u"宏 复制", u"宏  {copy-1033}"},
        {1033, u"Custom1 Copy", u"{custom-1033}1  {copy-1033}"},
        {1033, u"自定义3复制", u"{custom-1033}3 {copy-1033}"},
        {1033, u"Copy of A Copy", u" {copy-1033}"},
        {1033, u"CustomCopy", u"{custom-1033} {copy-1033}"},
        {1033, u"custom1", u"custom1"},
        {1033, u"My Custom", u"My Custom"},
        {1033, u"自定義1 複製", u"自定義1 複製"},
        {1033, u"Copy1", u"Copy1"},
        {1033, u"", u""},
        {2052, u"Custom1 Copy", u"{custom-2052}1  {copy-2052}"},
        // Languages whose assignment names stay still change macro-list names.
        {1042, u"Custom1 Copy", u"{custom-1042}1  {copy-1042}"},
        {1058, u"自定义2", u"{custom-1058}2"},
        {1043, u"Makro Copy", u"Makro  {copy-1043}"},
        // A language without its file has empty words.
        {1045, u"Custom1 Copy", u"1  "},
    };
    Check(std::begin(cases), std::end(cases), rule);
}

TEST_F(DefaultNames, ProfileCaptions) {
    const auto rule = [](std::u16string_view name, const std::filesystem::path& folder) {
        return ProfileCaption(name, folder);
    };
    const Case cases[] = {
        {1033, u"Profile1", u"{profile-1033} 1"},
        {1033, u"配置3", u"{profile-1033} 3"},
        {1033, u"Profile", u"{profile-1033} "},
        {1033, u"Profiles", u"{profile-1033} s"},
        {1033, u"profile1", u"profile1"},
        {1033, u"My Profile", u"My Profile"},
        {1033, u"配 置", u"配 置"},
        {1033, u"", u""},
        {2052, u"Profile2", u"{profile-2052} 2"},
        {1043, u"配置4", u"{profile-1043} 4"},
        {1045, u"Profile1", u" 1"},
    };
    Check(std::begin(cases), std::end(cases), rule);
}

}  // namespace
