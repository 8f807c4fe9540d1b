#include "i18n/DefaultNames.h"

#include <array>

#include "app/Languages.h"
#include "i18n/TextLookup.h"
#include "text/Format.h"

namespace {

constexpr int kProfileWordText = 61;
constexpr int kCustomWordText = 351;
constexpr int kCopyWordText = 31;

constexpr std::u16string_view kProfileWords[] = {u"Profile", u"配置"};
constexpr std::u16string_view kMacroCustomWords[] = {u"Custom", u"自定义"};
constexpr std::u16string_view kMacroCopyWords[] = {u"Copy", u"复制"};

// How one language shows assignment names: the custom words it replaces by text 351 and the copy
// words it replaces by its own, each tried in this order. An empty entry stands for no word.
struct AssignmentNameRule {
    int language;
    std::array<std::u16string_view, 4> customPrefixes;
    std::array<std::u16string_view, 3> copyEndings;
    std::u16string_view copyFormat;  // filled with the part before the copy word
};

constexpr AssignmentNameRule kAssignmentNameRules[] = {
    {1028,
     {u"自定义", u"Custom", u"カスタム", u"Пользоват"},
     {u"复制", u"Copy", u"Копировать"},
     u"%s 複製"},
    {1033,
     {u"自定义", u"自定義", u"カスタム", u"Пользоват"},
     {u"复制", u"複製", u"Копировать"},
     u"%s Copy"},
    {1041,
     {u"自定义", u"Custom", u"自定義", u"Пользоват"},
     {u"复制", u"Copy", u"Копировать"},
     u"%s 複製"},
    {1049,
     {u"自定义", u"Custom", u"自定義", u"カスタム"},
     {u"复制", u"Copy", u""},
     u"%s Копировать"},
    {2052,
     {u"Custom", u"自定義", u"カスタム", u"Пользоват"},
     {u"Copy", u"複製", u"Копировать"},
     u"%s 复制"},
};

const AssignmentNameRule* RuleOf(int language) {
    for (const AssignmentNameRule& rule : kAssignmentNameRules) {
        if (rule.language == language) {
            return &rule;
        }
    }
    return nullptr;
}

// The first of `words` that `name` begins with (ends with); empty when none does. Empty words
// in the list stand for no word and never match.
template <typename Words>
std::u16string_view PrefixOf(std::u16string_view name, const Words& words) {
    for (std::u16string_view word : words) {
        if (!word.empty() && name.starts_with(word)) {
            return word;
        }
    }
    return {};
}

template <typename Words>
std::u16string_view EndingOf(std::u16string_view name, const Words& words) {
    for (std::u16string_view word : words) {
        if (!word.empty() && name.ends_with(word)) {
            return word;
        }
    }
    return {};
}

// The text before the first occurrence of `word`, which the caller knows is in `name`.
std::u16string_view BeforeFirst(std::u16string_view name, std::u16string_view word) {
    return name.substr(0, name.find(word));
}

}  // namespace

std::u16string ProfileCaption(std::u16string_view storedName) {
    return ProfileCaption(storedName, LanguageFolder());
}

std::u16string ProfileCaption(std::u16string_view storedName, const std::filesystem::path& folder) {
    const std::u16string_view word = PrefixOf(storedName, kProfileWords);
    if (word.empty()) {
        return std::u16string(storedName);
    }
    return Format(u"%s %s", GetText(kProfileWordText, kTextSection, folder),
                  storedName.substr(word.size()));
}

std::u16string MacroListName(std::u16string_view name) {
    return MacroListName(name, LanguageFolder());
}

std::u16string MacroListName(std::u16string_view name, const std::filesystem::path& folder) {
    std::u16string result(name);
    if (const std::u16string_view custom = PrefixOf(name, kMacroCustomWords); !custom.empty()) {
        result = Format(u"%s%s", GetText(kCustomWordText, kTextSection, folder),
                        name.substr(custom.size()));
    }
    if (const std::u16string_view copy = EndingOf(result, kMacroCopyWords); !copy.empty()) {
        result = Format(u"%s %s", BeforeFirst(result, copy),
                        GetText(kCopyWordText, kTextSection, folder));
    }
    return result;
}

std::u16string LocaliseAssignmentName(std::u16string_view name) {
    return LocaliseAssignmentName(name, LanguageFolder());
}

std::u16string LocaliseAssignmentName(std::u16string_view name,
                                      const std::filesystem::path& folder) {
    const AssignmentNameRule* rule = RuleOf(GetCurrentLanguage());
    if (rule == nullptr) {
        return std::u16string(name);
    }
    std::u16string result(name);
    if (const std::u16string_view custom = PrefixOf(name, rule->customPrefixes); !custom.empty()) {
        result = Format(u"%s%s", GetText(kCustomWordText, kTextSection, folder),
                        name.substr(custom.size()));
    }
    if (const std::u16string_view copy = EndingOf(result, rule->copyEndings); !copy.empty()) {
        result = Format(rule->copyFormat, BeforeFirst(result, copy));
    }
    return result;
}
