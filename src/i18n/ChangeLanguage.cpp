#include "i18n/ChangeLanguage.h"

#include "app/AppRegistry.h"
#include "app/Languages.h"
#include "i18n/LanguageTarget.h"
#include "ui/toolkit/Manager.h"

void ChangeLanguage(int lcid, LanguageTarget& target) {
    SetCurrentLanguage(lcid);
    WriteLanguageSetting(lcid);

    const std::u16string font = kLanguageFontName;
    Manager::SetFontName(font);
    target.SetFontNames(font, font);
    target.ApplyTexts();
}
