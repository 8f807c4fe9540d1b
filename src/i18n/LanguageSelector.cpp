#include "i18n/LanguageSelector.h"

#include <map>

#include "app/Languages.h"

std::vector<LanguageSelectorEntry> SelectableLanguages() {
    const std::map<int, int> available = GetAvailableLanguages();
    std::vector<LanguageSelectorEntry> entries;
    for (const LanguageSelectorEntry& entry : kLanguageSelectorEntries) {
        if (available.count(entry.lcid) != 0) {
            entries.push_back(entry);
        }
    }
    return entries;
}
