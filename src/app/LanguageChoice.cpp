#include "app/LanguageChoice.h"

#include "app/AppRegistry.h"
#include "app/Languages.h"
#include "platform/UserLanguage.h"

int ChooseLanguage() {
    SetCurrentLanguage(ReadLanguageSetting());
    if (GetCurrentLanguage() == 0) {
        const int userLanguage = platform::UserDefaultUILanguage();
        SetCurrentLanguage(userLanguage);
        WriteLanguageSetting(IsAvailableLanguage(userLanguage) ? userLanguage : kFallbackLanguage);
    }
    if (!IsAvailableLanguage(GetCurrentLanguage())) {
        SetCurrentLanguage(kFallbackLanguage);
        WriteLanguageSetting(kFallbackLanguage);
    }
    return GetCurrentLanguage();
}
