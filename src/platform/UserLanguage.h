#pragma once

#include <string_view>

// The user's interface language as a Windows language identifier (LCID), the number that names
// language files and fills the language list of config.xml.

namespace platform {

// English (United States), taken for locales with no language of their own ("C", "POSIX", empty)
// and for languages the table does not know.
inline constexpr int kDefaultLcid = 1033;

// Maps a POSIX locale name ("language[_TERRITORY][.codeset][@modifier]", e.g. "zh_CN.UTF-8") to its
// LCID: the language with its territory when the table has that pair, else the language's main
// variant ("zh" gives simplified Chinese, 2052), else 1033.
int LocaleToLcid(std::string_view locale);

// The locale that decides message language: the first non-empty one of LC_ALL, LC_MESSAGES and
// LANG, mapped with LocaleToLcid.
int UserDefaultUILanguage();

}  // namespace platform
