#include "i18n/TextLookup.h"

#include "app/Folders.h"
#include "app/Languages.h"
#include "i18n/IniFile.h"
#include "text/Format.h"
#include "text/Utf.h"

std::filesystem::path LanguageFolder() {
    return ExeFolder() / "language";
}

std::filesystem::path LanguageFile(const std::filesystem::path& folder, int lcid) {
    return folder / ToUtf8(Format(u"%d.lan", lcid));
}

std::filesystem::path CurrentLanguageFile() {
    return LanguageFile(LanguageFolder(), GetCurrentLanguage());
}

std::u16string GetText(int id, std::u16string_view section) {
    return GetText(id, section, LanguageFolder());
}

std::u16string GetText(int id, std::u16string_view section, const std::filesystem::path& folder) {
    return ReadIniString(LanguageFile(folder, GetCurrentLanguage()), section, Format(u"%d", id));
}
