// A change of language: the current language, the stored "LCID", the fonts and the texts fetched
// again from the new language's file.

#include "i18n/ChangeLanguage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppRegistry.h"
#include "app/Languages.h"
#include "i18n/LanguageEnvironment.h"
#include "i18n/LanguageTarget.h"
#include "ui/toolkit/Manager.h"

namespace {

// Stands in for the main window: records what it is asked to do and, like the window, fetches its
// caption when told to apply the texts.
class RecordingTarget : public LanguageTarget {
public:
    explicit RecordingTarget(std::filesystem::path languages) : languages_(std::move(languages)) {}

    void SetFontNames(const std::u16string& titleFont, const std::u16string& bodyFont) override {
        calls.push_back(u"fonts " + titleFont + u" / " + bodyFont);
    }
    void ApplyTexts() override {
        calls.push_back(u"texts " + GetText(1, kTextSection, languages_) + u" toolkit font " +
                        Manager::GetFontName());
    }

    std::vector<std::u16string> calls;

private:
    std::filesystem::path languages_;
};

class ChangeLanguageTest : public LanguageEnvironment {
protected:
    ChangeLanguageTest() {
        Manager::SetFontName(u"Some Other Font");
        WriteLanguage(1033, u"1=English caption\r\n");
        WriteLanguage(1041, u"1=日本語の見出し\r\n");
    }
    ~ChangeLanguageTest() override { Manager::SetFontName(Manager::kDefaultFontName); }
};

TEST_F(ChangeLanguageTest, StoresTheLanguageAndAppliesItsTexts) {
    WriteKeyFile("LCID=1033\nDeviceType=101\n");
    SetCurrentLanguage(1033);
    RecordingTarget target(Languages());

    ChangeLanguage(1041, target);

    EXPECT_EQ(GetCurrentLanguage(), 1041);
    EXPECT_EQ(KeyValues(), "LCID=1041\nDeviceType=101\n");
    EXPECT_EQ(Manager::GetFontName(), u"Open Sans Semibold");
    const std::vector<std::u16string> expected = {
        u"fonts Open Sans Semibold / Open Sans Semibold",
        u"texts 日本語の見出し toolkit font Open Sans Semibold",
    };
    EXPECT_EQ(target.calls, expected);
}

TEST_F(ChangeLanguageTest, WithoutASettingsKeyStillSwitchesLanguage) {
    SetCurrentLanguage(1041);
    RecordingTarget target(Languages());

    ChangeLanguage(1033, target);

    EXPECT_EQ(GetCurrentLanguage(), 1033);
    EXPECT_FALSE(std::filesystem::exists(KeyFile())) << "writes never create the key";
    ASSERT_EQ(target.calls.size(), 2u);
    EXPECT_EQ(target.calls[1], u"texts English caption toolkit font Open Sans Semibold");
}

TEST_F(ChangeLanguageTest, ALanguageWithoutFileEmptiesTheTexts) {
    WriteKeyFile("LCID=1033\n");
    SetCurrentLanguage(1033);
    RecordingTarget target(Languages());

    ChangeLanguage(1042, target);

    EXPECT_EQ(ReadLanguageSetting(), 1042);
    ASSERT_EQ(target.calls.size(), 2u);
    EXPECT_EQ(target.calls[1], u"texts  toolkit font Open Sans Semibold");
}

}  // namespace
