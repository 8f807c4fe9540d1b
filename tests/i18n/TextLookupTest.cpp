// Text lookup: the file of the current language, no cache, and empty text for whatever is missing.

#include "i18n/TextLookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/Folders.h"
#include "app/Languages.h"
#include "i18n/LanguageEnvironment.h"

namespace {

namespace fs = std::filesystem;

class TextLookup : public LanguageEnvironment {};

TEST_F(TextLookup, FilesAreNamedAfterTheLanguageBesideTheProgram) {
    EXPECT_TRUE(fs::equivalent(ExeFolder(), KESTREL_RUNTIME_DIR));
    EXPECT_EQ(LanguageFolder(), ExeFolder() / "language");
    EXPECT_EQ(LanguageFile("/opt/kestrel/language", 1043),
              fs::path("/opt/kestrel/language/1043.lan"));

    SetCurrentLanguage(2052);
    EXPECT_EQ(CurrentLanguageFile(), ExeFolder() / "language" / "2052.lan");
    SetCurrentLanguage(1041);
    EXPECT_EQ(CurrentLanguageFile(), ExeFolder() / "language" / "1041.lan");
}

TEST_F(TextLookup, FollowsTheCurrentLanguageWithoutCache) {
    WriteLanguage(1033, u"1=Kestrel\r\n17=Version\r\n");
    WriteLanguage(2052, u"1=红隼\r\n");

    SetCurrentLanguage(1033);
    EXPECT_EQ(GetText(1, kTextSection, Languages()), u"Kestrel");
    EXPECT_EQ(GetText(17, kTextSection, Languages()), u"Version");
    EXPECT_EQ(GetText(2, kTextSection, Languages()), u"") << "an absent id shows as nothing";
    EXPECT_EQ(GetText(1, u"Other", Languages()), u"");

    SetCurrentLanguage(2052);
    EXPECT_EQ(GetText(1, kTextSection, Languages()), u"红隼");
    EXPECT_EQ(GetText(17, kTextSection, Languages()), u"");

    WriteLanguage(2052, u"1=新名字\r\n");
    EXPECT_EQ(GetText(1, kTextSection, Languages()), u"新名字") << "the file is read again";

    SetCurrentLanguage(1041);  // no file for this language
    EXPECT_EQ(GetText(1, kTextSection, Languages()), u"");

    SetCurrentLanguage(1033);
    EXPECT_EQ(GetText(1, kTextSection, Languages()), u"Kestrel");
}

TEST_F(TextLookup, KeysAreTheIdInDecimal) {
    SetCurrentLanguage(1033);
    WriteLanguage(1033, u"0=zero\r\n-5=minus five\r\n0600=padded\r\n600=six hundred\r\n700=" +
                            std::u16string(300, u'y'));
    EXPECT_EQ(GetText(0, kTextSection, Languages()), u"zero");
    EXPECT_EQ(GetText(-5, kTextSection, Languages()), u"minus five");
    EXPECT_EQ(GetText(600, kTextSection, Languages()), u"six hundred");
    EXPECT_EQ(GetText(700, kTextSection, Languages()), std::u16string(259, u'y'));
}

}  // namespace
