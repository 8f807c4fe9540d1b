#include "platform/UserLanguage.h"

#include <cstdlib>
#include <string>

namespace platform {

namespace {

struct LocaleLcid {
    std::string_view locale;  // "ll" or "ll_TT"
    int lcid;
};

// A bare language stands for its main variant. Polish is 1045, its true identifier: a language list
// that names Polish with 1043 (Dutch's number) will not match a Polish locale.
constexpr LocaleLcid kLocales[] = {
    {"ar", 1025},    {"bg", 1026},    {"ca", 1027},    {"zh", 2052},    {"zh_CN", 2052},
    {"zh_SG", 4100}, {"zh_TW", 1028}, {"zh_HK", 3076}, {"zh_MO", 5124}, {"cs", 1029},
    {"da", 1030},    {"de", 1031},    {"de_CH", 2055}, {"de_AT", 3079}, {"el", 1032},
    {"en", 1033},    {"en_US", 1033}, {"en_GB", 2057}, {"en_AU", 3081}, {"en_CA", 4105},
    {"en_NZ", 5129}, {"en_IE", 6153}, {"es", 3082},    {"es_MX", 2058}, {"fi", 1035},
    {"fr", 1036},    {"fr_BE", 2060}, {"fr_CA", 3084}, {"fr_CH", 4108}, {"he", 1037},
    {"hu", 1038},    {"it", 1040},    {"ja", 1041},    {"ko", 1042},    {"nl", 1043},
    {"nl_BE", 2067}, {"nb", 1044},    {"no", 1044},    {"nn", 2068},    {"pl", 1045},
    {"pt", 2070},    {"pt_BR", 1046}, {"ro", 1048},    {"ru", 1049},    {"hr", 1050},
    {"sk", 1051},    {"sv", 1053},    {"th", 1054},    {"tr", 1055},    {"id", 1057},
    {"uk", 1058},    {"sl", 1060},    {"et", 1061},    {"lv", 1062},    {"lt", 1063},
    {"vi", 1066},    {"hi", 1081},    {"ms", 1086},
};

int Find(std::string_view key) {
    for (const LocaleLcid& entry : kLocales) {
        if (entry.locale == key) {
            return entry.lcid;
        }
    }
    return 0;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

int LocaleToLcid(std::string_view locale) {
    locale = locale.substr(0, locale.find_first_of(".@"));
    const std::size_t separator = locale.find_first_of("_-");
    std::string language;
    for (char c : locale.substr(0, separator)) {
        language.push_back(Lower(c));
    }
    if (separator != std::string_view::npos) {
        std::string pair = language + '_';
        for (char c : locale.substr(separator + 1)) {
            pair.push_back(Upper(c));
        }
        if (const int lcid = Find(pair); lcid != 0) {
            return lcid;
        }
    }
    const int lcid = Find(language);
    return lcid != 0 ? lcid : kDefaultLcid;
}

int UserDefaultUILanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') {
            return LocaleToLcid(value);
        }
    }
    return kDefaultLcid;
}

}  // namespace platform
