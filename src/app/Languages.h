#pragma once

#include <map>

// The process-wide language state: which languages config.xml offers and which one the texts are
// taken from. Safe from any thread: the current language is changed on the user-interface thread
// while the device worker reads it.

// The language before any choice is made (simplified Chinese).
inline constexpr int kInitialLanguage = 2052;
// The language taken when the chosen one is not offered (English, United States).
inline constexpr int kFallbackLanguage = 1033;

// CurrentLanguage: the LCID that names the language file every text comes from.
int GetCurrentLanguage();
void SetCurrentLanguage(int lcid);

// AvailableLanguages: LCID -> 1 for every language config.xml lists, in LCID order. It is the only
// authority on which languages exist.
std::map<int, int> GetAvailableLanguages();
void SetAvailableLanguages(std::map<int, int> languages);
void ClearAvailableLanguages();
bool IsAvailableLanguage(int lcid);
