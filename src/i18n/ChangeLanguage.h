#pragma once

class LanguageTarget;

// The one font every language is drawn with.
inline constexpr char16_t kLanguageFontName[] = u"Open Sans Semibold";

// Switches the user-interface language: CurrentLanguage becomes `lcid` and is stored as "LCID"
// (dropped silently when the settings key cannot be opened), the toolkit and both fonts of
// `target` get kLanguageFontName, and `target` fetches its texts again from the new language's
// file.
void ChangeLanguage(int lcid, LanguageTarget& target);
