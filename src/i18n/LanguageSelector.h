#pragma once

#include <string_view>
#include <vector>

// The languages the settings page offers: a caption in its own language and the LCID that is
// stored and names the language file.
struct LanguageSelectorEntry {
    std::u16string_view caption;
    int lcid = 0;

    bool operator==(const LanguageSelectorEntry&) const = default;
};

// Every language the program has a caption for, in the order the selector lists them. Polish is
// 1043 (not its usual 1045): its texts live in 1043.lan.
inline constexpr LanguageSelectorEntry kLanguageSelectorEntries[] = {
    {u"简体中文", 2052}, {u"English", 1033},         {u"繁体中文", 1028}, {u"日本語にほんご", 1041},
    {u"한국어", 1042},   {u"Українська Мова", 1058}, {u"Polski", 1043},
};

// The entries whose language AvailableLanguages holds, in the order above.
std::vector<LanguageSelectorEntry> SelectableLanguages();
