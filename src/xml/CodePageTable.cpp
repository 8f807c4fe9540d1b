#include "xml/CodePageTable.h"

#include "xml/NameBuckets.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

namespace {

struct NameRow {
    const char16_t* name;  // lower case
    int codePage;
};

// Character set names and aliases that Windows (MLang and .NET) accepts for its code pages, each
// with the code page it selects. Names that cannot be written in an XML encoding declaration
// (those with a space, '+' or ':', or starting with a digit) are left out, and so are a few
// Windows-only code pages that documents do not declare in practice and that glibc cannot convert
// (ISCII, the Taiwanese vendor sets, Europa and EBCDIC Korean Extended). Every EUC-JP name selects
// 20932, the table Windows itself converts EUC-JP with, rather than 51932, which only MLang and
// .NET implement.
constexpr NameRow kNameRows[] = {
    // 37: IBM EBCDIC (US-Canada)
    {u"cp037", 37},
    {u"csibm037", 37},
    {u"ebcdic-cp-ca", 37},
    {u"ebcdic-cp-nl", 37},
    {u"ebcdic-cp-us", 37},
    {u"ebcdic-cp-wt", 37},
    {u"ibm037", 37},
    // 437: OEM United States
    {u"cp437", 437},
    {u"cspc8codepage437", 437},
    {u"ibm437", 437},
    // 500: IBM EBCDIC (International)
    {u"cp500", 500},
    {u"csibm500", 500},
    {u"ebcdic-cp-be", 500},
    {u"ebcdic-cp-ch", 500},
    {u"ibm500", 500},
    // 708: Arabic (ASMO 708)
    {u"asmo-708", 708},
    // 720: Arabic (DOS)
    {u"dos-720", 720},
    // 737: Greek (DOS)
    {u"ibm737", 737},
    // 775: Baltic (DOS)
    {u"ibm775", 775},
    // 850: Western European (DOS)
    {u"cp850", 850},
    {u"ibm850", 850},
    // 852: Central European (DOS)
    {u"cp852", 852},
    {u"ibm852", 852},
    // 855: OEM Cyrillic
    {u"cp855", 855},
    {u"ibm855", 855},
    // 857: Turkish (DOS)
    {u"cp857", 857},
    {u"ibm857", 857},
    // 858: OEM Multilingual Latin 1 with euro
    {u"ccsid00858", 858},
    {u"cp00858", 858},
    {u"cp858", 858},
    {u"ibm00858", 858},
    // 860: Portuguese (DOS)
    {u"cp860", 860},
    {u"ibm860", 860},
    // 861: Icelandic (DOS)
    {u"cp861", 861},
    {u"ibm861", 861},
    // 862: Hebrew (DOS)
    {u"cp862", 862},
    {u"dos-862", 862},
    {u"ibm862", 862},
    // 863: French Canadian (DOS)
    {u"cp863", 863},
    {u"ibm863", 863},
    // 864: Arabic (864)
    {u"cp864", 864},
    {u"ibm864", 864},
    // 865: Nordic (DOS)
    {u"cp865", 865},
    {u"ibm865", 865},
    // 866: Cyrillic (DOS)
    {u"cp866", 866},
    {u"ibm866", 866},
    // 869: Greek, Modern (DOS)
    {u"cp869", 869},
    {u"ibm869", 869},
    // 870: IBM EBCDIC (Multilingual Latin-2)
    {u"cp870", 870},
    {u"csibm870", 870},
    {u"ebcdic-cp-roece", 870},
    {u"ebcdic-cp-yu", 870},
    {u"ibm870", 870},
    // 874: Thai (Windows)
    {u"dos-874", 874},
    {u"iso-8859-11", 874},
    {u"tis-620", 874},
    {u"windows-874", 874},
    // 875: IBM EBCDIC (Greek Modern)
    {u"cp875", 875},
    // 932: Japanese (Shift-JIS)
    {u"csshiftjis", 932},
    {u"cswindows31j", 932},
    {u"ms_kanji", 932},
    {u"shift-jis", 932},
    {u"shift_jis", 932},
    {u"sjis", 932},
    {u"x-ms-cp932", 932},
    {u"x-sjis", 932},
    // 936: Chinese Simplified (GBK)
    {u"chinese", 936},
    {u"cn-gb", 936},
    {u"csgb2312", 936},
    {u"csgb231280", 936},
    {u"csiso58gb231280", 936},
    {u"gb2312", 936},
    {u"gb2312-80", 936},
    {u"gb231280", 936},
    {u"gbk", 936},
    {u"gb_2312-80", 936},
    {u"iso-ir-58", 936},
    // 949: Korean (Unified Hangul)
    {u"csksc56011987", 949},
    {u"iso-ir-149", 949},
    {u"korean", 949},
    {u"ks-c-5601", 949},
    {u"ks-c5601", 949},
    {u"ksc5601", 949},
    {u"ksc_5601", 949},
    {u"ks_c_5601", 949},
    {u"ks_c_5601-1987", 949},
    {u"ks_c_5601-1989", 949},
    {u"ks_c_5601_1987", 949},
    // 950: Chinese Traditional (Big5)
    {u"big5", 950},
    {u"big5-hkscs", 950},
    {u"cn-big5", 950},
    {u"csbig5", 950},
    {u"x-x-big5", 950},
    // 1026: IBM EBCDIC (Turkish Latin-5)
    {u"cp1026", 1026},
    {u"csibm1026", 1026},
    {u"ibm1026", 1026},
    // 1047: IBM EBCDIC Latin-1
    {u"ibm01047", 1047},
    // 1140: IBM EBCDIC (US-Canada, euro)
    {u"ccsid01140", 1140},
    {u"cp01140", 1140},
    {u"ibm01140", 1140},
    // 1141: IBM EBCDIC (Germany, euro)
    {u"ccsid01141", 1141},
    {u"cp01141", 1141},
    {u"ibm01141", 1141},
    // 1142: IBM EBCDIC (Denmark-Norway, euro)
    {u"ccsid01142", 1142},
    {u"cp01142", 1142},
    {u"ibm01142", 1142},
    // 1143: IBM EBCDIC (Finland-Sweden, euro)
    {u"ccsid01143", 1143},
    {u"cp01143", 1143},
    {u"ibm01143", 1143},
    // 1144: IBM EBCDIC (Italy, euro)
    {u"ccsid01144", 1144},
    {u"cp01144", 1144},
    {u"ibm01144", 1144},
    // 1145: IBM EBCDIC (Spain, euro)
    {u"ccsid01145", 1145},
    {u"cp01145", 1145},
    {u"ibm01145", 1145},
    // 1146: IBM EBCDIC (UK, euro)
    {u"ccsid01146", 1146},
    {u"cp01146", 1146},
    {u"ibm01146", 1146},
    // 1147: IBM EBCDIC (France, euro)
    {u"ccsid01147", 1147},
    {u"cp01147", 1147},
    {u"ibm01147", 1147},
    // 1148: IBM EBCDIC (International, euro)
    {u"ccsid01148", 1148},
    {u"cp01148", 1148},
    {u"ibm01148", 1148},
    // 1149: IBM EBCDIC (Icelandic, euro)
    {u"ccsid01149", 1149},
    {u"cp01149", 1149},
    {u"ibm01149", 1149},
    // 1200: UTF-16, little-endian
    {u"iso-10646-ucs-2", 1200},
    {u"ucs-2", 1200},
    {u"unicode", 1200},
    {u"utf-16", 1200},
    {u"utf-16le", 1200},
    // 1201: UTF-16, big-endian
    {u"unicodefffe", 1201},
    {u"utf-16be", 1201},
    // 1250: Central European (Windows)
    {u"windows-1250", 1250},
    {u"x-cp1250", 1250},
    // 1251: Cyrillic (Windows)
    {u"windows-1251", 1251},
    {u"x-cp1251", 1251},
    // 1252: Western European (Windows)
    {u"windows-1252", 1252},
    {u"x-ansi", 1252},
    {u"cp1252", 1252},
    {u"ms-ansi", 1252},
    // 1253: Greek (Windows)
    {u"windows-1253", 1253},
    // 1254: Turkish (Windows)
    {u"windows-1254", 1254},
    // 1255: Hebrew (Windows)
    {u"windows-1255", 1255},
    // 1256: Arabic (Windows)
    {u"cp1256", 1256},
    {u"windows-1256", 1256},
    // 1257: Baltic (Windows)
    {u"windows-1257", 1257},
    // 1258: Vietnamese (Windows)
    {u"windows-1258", 1258},
    // 1361: Korean (Johab)
    {u"johab", 1361},
    // 10000: Western European (Mac)
    {u"macintosh", 10000},
    // 10001: Japanese (Mac)
    {u"x-mac-japanese", 10001},
    // 10002: Chinese Traditional (Mac)
    {u"x-mac-chinesetrad", 10002},
    // 10003: Korean (Mac)
    {u"x-mac-korean", 10003},
    // 10004: Arabic (Mac)
    {u"x-mac-arabic", 10004},
    // 10005: Hebrew (Mac)
    {u"x-mac-hebrew", 10005},
    // 10006: Greek (Mac)
    {u"x-mac-greek", 10006},
    // 10007: Cyrillic (Mac)
    {u"x-mac-cyrillic", 10007},
    // 10008: Chinese Simplified (Mac)
    {u"x-mac-chinesesimp", 10008},
    // 10010: Romanian (Mac)
    {u"x-mac-romanian", 10010},
    // 10017: Ukrainian (Mac)
    {u"x-mac-ukrainian", 10017},
    // 10021: Thai (Mac)
    {u"x-mac-thai", 10021},
    // 10029: Central European (Mac)
    {u"x-mac-ce", 10029},
    // 10079: Icelandic (Mac)
    {u"x-mac-icelandic", 10079},
    // 10081: Turkish (Mac)
    {u"x-mac-turkish", 10081},
    // 10082: Croatian (Mac)
    {u"x-mac-croatian", 10082},
    // 12000: UTF-32, little-endian
    {u"utf-32", 12000},
    {u"utf-32le", 12000},
    // 12001: UTF-32, big-endian
    {u"utf-32be", 12001},
    // 20105: IA5 IRV (7-bit)
    {u"irv", 20105},
    {u"x-ia5", 20105},
    // 20106: IA5 German (7-bit)
    {u"din_66003", 20106},
    {u"german", 20106},
    {u"x-ia5-german", 20106},
    // 20107: IA5 Swedish (7-bit)
    {u"sen_850200_b", 20107},
    {u"swedish", 20107},
    {u"x-ia5-swedish", 20107},
    // 20108: IA5 Norwegian (7-bit)
    {u"norwegian", 20108},
    {u"ns_4551-1", 20108},
    {u"x-ia5-norwegian", 20108},
    // 20127: US-ASCII
    {u"ansi_x3.4-1968", 20127},
    {u"ansi_x3.4-1986", 20127},
    {u"ascii", 20127},
    {u"cp367", 20127},
    {u"csascii", 20127},
    {u"ibm367", 20127},
    {u"iso-ir-6", 20127},
    {u"iso646-us", 20127},
    {u"us", 20127},
    {u"us-ascii", 20127},
    // 20261: T.61
    {u"x-cp20261", 20261},
    // 20269: ISO 6937
    {u"x-cp20269", 20269},
    // 20273: IBM EBCDIC (Germany)
    {u"cp273", 20273},
    {u"csibm273", 20273},
    {u"ibm273", 20273},
    // 20277: IBM EBCDIC (Denmark-Norway)
    {u"csibm277", 20277},
    {u"ebcdic-cp-dk", 20277},
    {u"ebcdic-cp-no", 20277},
    {u"ibm277", 20277},
    // 20278: IBM EBCDIC (Finland-Sweden)
    {u"cp278", 20278},
    {u"csibm278", 20278},
    {u"ebcdic-cp-fi", 20278},
    {u"ebcdic-cp-se", 20278},
    {u"ibm278", 20278},
    // 20280: IBM EBCDIC (Italy)
    {u"cp280", 20280},
    {u"csibm280", 20280},
    {u"ebcdic-cp-it", 20280},
    {u"ibm280", 20280},
    // 20284: IBM EBCDIC (Spain)
    {u"cp284", 20284},
    {u"csibm284", 20284},
    {u"ebcdic-cp-es", 20284},
    {u"ibm284", 20284},
    // 20285: IBM EBCDIC (UK)
    {u"cp285", 20285},
    {u"csibm285", 20285},
    {u"ebcdic-cp-gb", 20285},
    {u"ibm285", 20285},
    // 20290: IBM EBCDIC (Japanese katakana)
    {u"cp290", 20290},
    {u"csibm290", 20290},
    {u"ebcdic-jp-kana", 20290},
    {u"ibm290", 20290},
    // 20297: IBM EBCDIC (France)
    {u"cp297", 20297},
    {u"csibm297", 20297},
    {u"ebcdic-cp-fr", 20297},
    {u"ibm297", 20297},
    // 20420: IBM EBCDIC (Arabic)
    {u"cp420", 20420},
    {u"csibm420", 20420},
    {u"ebcdic-cp-ar1", 20420},
    {u"ibm420", 20420},
    // 20423: IBM EBCDIC (Greek)
    {u"cp423", 20423},
    {u"csibm423", 20423},
    {u"ebcdic-cp-gr", 20423},
    {u"ibm423", 20423},
    // 20424: IBM EBCDIC (Hebrew)
    {u"cp424", 20424},
    {u"csibm424", 20424},
    {u"ebcdic-cp-he", 20424},
    {u"ibm424", 20424},
    // 20838: IBM EBCDIC (Thai)
    {u"csibmthai", 20838},
    {u"ibm-thai", 20838},
    // 20866: Cyrillic (KOI8-R)
    {u"cskoi8r", 20866},
    {u"koi", 20866},
    {u"koi8", 20866},
    {u"koi8-r", 20866},
    {u"koi8r", 20866},
    // 20871: IBM EBCDIC (Icelandic)
    {u"cp871", 20871},
    {u"csibm871", 20871},
    {u"ebcdic-cp-is", 20871},
    {u"ibm871", 20871},
    // 20880: IBM EBCDIC (Cyrillic Russian)
    {u"cp880", 20880},
    {u"csibm880", 20880},
    {u"ebcdic-cyrillic", 20880},
    {u"ibm880", 20880},
    // 20905: IBM EBCDIC (Turkish)
    {u"cp905", 20905},
    {u"csibm905", 20905},
    {u"ebcdic-cp-tr", 20905},
    {u"ibm905", 20905},
    // 20924: IBM EBCDIC Latin-1 with euro
    {u"ccsid00924", 20924},
    {u"cp00924", 20924},
    {u"ebcdic-latin9--euro", 20924},
    {u"ibm00924", 20924},
    // 20932: Japanese (EUC-JP: JIS X 0208-1990 and 0212-1990)
    {u"cseucpkdfmtjapanese", 20932},
    {u"euc-jp", 20932},
    {u"extended_unix_code_packed_format_for_japanese", 20932},
    {u"iso-2022-jpeuc", 20932},
    {u"x-euc", 20932},
    {u"x-euc-jp", 20932},
    // 20936: Chinese Simplified (GB2312-80)
    {u"x-cp20936", 20936},
    // 20949: Korean (Wansung)
    {u"x-cp20949", 20949},
    // 21025: IBM EBCDIC (Cyrillic Serbian-Bulgarian)
    {u"cp1025", 21025},
    // 21866: Cyrillic (KOI8-U)
    {u"koi8-ru", 21866},
    {u"koi8-u", 21866},
    // 28591: ISO 8859-1 Latin 1
    {u"cp819", 28591},
    {u"csisolatin1", 28591},
    {u"ibm819", 28591},
    {u"iso-8859-1", 28591},
    {u"iso-ir-100", 28591},
    {u"iso8859-1", 28591},
    {u"iso_8859-1", 28591},
    {u"l1", 28591},
    {u"latin1", 28591},
    // 28592: ISO 8859-2 Central European
    {u"csisolatin2", 28592},
    {u"iso-8859-2", 28592},
    {u"iso-ir-101", 28592},
    {u"iso8859-2", 28592},
    {u"iso_8859-2", 28592},
    {u"l2", 28592},
    {u"latin2", 28592},
    // 28593: ISO 8859-3 Latin 3
    {u"csisolatin3", 28593},
    {u"iso-8859-3", 28593},
    {u"iso-ir-109", 28593},
    {u"iso_8859-3", 28593},
    {u"l3", 28593},
    {u"latin3", 28593},
    // 28594: ISO 8859-4 Baltic
    {u"csisolatin4", 28594},
    {u"iso-8859-4", 28594},
    {u"iso-ir-110", 28594},
    {u"iso_8859-4", 28594},
    {u"l4", 28594},
    {u"latin4", 28594},
    // 28595: ISO 8859-5 Cyrillic
    {u"csisolatincyrillic", 28595},
    {u"cyrillic", 28595},
    {u"iso-8859-5", 28595},
    {u"iso-ir-144", 28595},
    {u"iso_8859-5", 28595},
    // 28596: ISO 8859-6 Arabic
    {u"arabic", 28596},
    {u"csisolatinarabic", 28596},
    {u"ecma-114", 28596},
    {u"iso-8859-6", 28596},
    {u"iso-ir-127", 28596},
    {u"iso_8859-6", 28596},
    // 28597: ISO 8859-7 Greek
    {u"csisolatingreek", 28597},
    {u"ecma-118", 28597},
    {u"elot_928", 28597},
    {u"greek", 28597},
    {u"greek8", 28597},
    {u"iso-8859-7", 28597},
    {u"iso-ir-126", 28597},
    {u"iso_8859-7", 28597},
    // 28598: ISO 8859-8 Hebrew (visual order)
    {u"csisolatinhebrew", 28598},
    {u"hebrew", 28598},
    {u"iso-8859-8", 28598},
    {u"iso-ir-138", 28598},
    {u"iso_8859-8", 28598},
    {u"logical", 28598},
    {u"visual", 28598},
    // 28599: ISO 8859-9 Turkish
    {u"csisolatin5", 28599},
    {u"iso-8859-9", 28599},
    {u"iso-ir-148", 28599},
    {u"iso_8859-9", 28599},
    {u"l5", 28599},
    {u"latin5", 28599},
    // 28603: ISO 8859-13 Estonian
    {u"iso-8859-13", 28603},
    // 28605: ISO 8859-15 Latin 9
    {u"csisolatin9", 28605},
    {u"iso-8859-15", 28605},
    {u"iso_8859-15", 28605},
    {u"l9", 28605},
    {u"latin9", 28605},
    // 38598: ISO 8859-8 Hebrew (logical order)
    {u"iso-8859-8-i", 38598},
    // 50220: ISO-2022-JP
    {u"iso-2022-jp", 50220},
    // 50221: ISO-2022-JP allowing 1-byte kana
    {u"csiso2022jp", 50221},
    // 50225: ISO-2022-KR
    {u"csiso2022kr", 50225},
    {u"iso-2022-kr", 50225},
    {u"iso-2022-kr-7", 50225},
    {u"iso-2022-kr-7bit", 50225},
    // 50227: ISO-2022 Chinese Simplified
    {u"cp50227", 50227},
    {u"x-cp50227", 50227},
    // 51936: EUC-CN
    {u"euc-cn", 51936},
    {u"x-euc-cn", 51936},
    // 51949: EUC-KR
    {u"cseuckr", 51949},
    {u"euc-kr", 51949},
    {u"iso-2022-kr-8", 51949},
    {u"iso-2022-kr-8bit", 51949},
    // 52936: HZ-GB-2312
    {u"hz-gb-2312", 52936},
    // 54936: GB18030
    {u"gb18030", 54936},
    // 65000: UTF-7
    {u"csunicode11utf7", 65000},
    {u"unicode-1-1-utf-7", 65000},
    {u"unicode-2-0-utf-7", 65000},
    {u"utf-7", 65000},
    {u"x-unicode-1-1-utf-7", 65000},
    {u"x-unicode-2-0-utf-7", 65000},
    // 65001: UTF-8
    {u"unicode-1-1-utf-8", 65001},
    {u"unicode-2-0-utf-8", 65001},
    {u"utf-8", 65001},
    {u"x-unicode-1-1-utf-8", 65001},
    {u"x-unicode-2-0-utf-8", 65001},
    {u"utf8", 65001},
};

constexpr std::size_t kRowCount = std::size(kNameRows);
constexpr std::size_t kBucketCount = 155;
// A name this long is no encoding name; refusing it early also keeps the hash sum from overflowing.
constexpr std::size_t kNameLengthLimit = 100;

constexpr std::size_t BucketOf(std::u16string_view name) {
    return NameBucket<kBucketCount>(name);
}

// True when `name` with A-Z folded to lower case equals the lower-case `stored`.
constexpr bool EqualsFolded(std::u16string_view name, const char16_t* stored) {
    for (char16_t c : name) {
        if (*stored == u'\0' || FoldAscii(c) != *stored)
            return false;
        ++stored;
    }
    return *stored == u'\0';
}

// Built by the compiler: lookups never pay for it and never allocate.
constexpr auto kBuckets = BuildNameBuckets<kBucketCount>(kNameRows);

// Rows are stored in lower case, shorter than the length limit, and each name appears once (two
// equal names would share a bucket, so comparing within buckets is enough).
constexpr bool RowsAreWellFormed() {
    for (const NameRow& row : kNameRows) {
        const std::u16string_view name = row.name;
        if (name.empty() || name.size() >= kNameLengthLimit)
            return false;
        for (char16_t c : name) {
            if (FoldAscii(c) != c)
                return false;
        }
    }
    for (std::size_t b = 0; b < kBucketCount; ++b) {
        for (std::size_t i = kBuckets.start[b]; i < kBuckets.start[b + 1]; ++i) {
            for (std::size_t j = i + 1; j < kBuckets.start[b + 1]; ++j) {
                if (std::u16string_view(kNameRows[kBuckets.order[i]].name) ==
                    kNameRows[kBuckets.order[j]].name) {
                    return false;
                }
            }
        }
    }
    return true;
}

static_assert(kRowCount == 365);
static_assert(RowsAreWellFormed());

struct IconvRow {
    int codePage;
    const char* iconvName;
};

// glibc converters for the code pages of the name table, sorted by code page. Code pages that
// glibc cannot convert are absent: 720, 10001-10006, 10008, 10010, 10021, 10081, 10082, 20105,
// 20838, 20924 and 52936.
constexpr IconvRow kIconvRows[] = {
    {37, "IBM037"},
    {437, "IBM437"},
    {500, "IBM500"},
    {708, "ASMO-708"},
    {737, "CP737"},
    {775, "CP775"},
    {850, "IBM850"},
    {852, "IBM852"},
    {855, "IBM855"},
    {857, "IBM857"},
    {858, "IBM858"},
    {860, "IBM860"},
    {861, "IBM861"},
    {862, "IBM862"},
    {863, "IBM863"},
    {864, "IBM864"},
    {865, "IBM865"},
    {866, "IBM866"},
    {869, "IBM869"},
    {870, "IBM870"},
    {874, "CP874"},
    {875, "IBM875"},
    {932, "CP932"},
    {936, "CP936"},
    {949, "CP949"},
    {950, "CP950"},
    {1026, "IBM1026"},
    {1047, "IBM1047"},
    {1140, "IBM1140"},
    {1141, "IBM1141"},
    {1142, "IBM1142"},
    {1143, "IBM1143"},
    {1144, "IBM1144"},
    {1145, "IBM1145"},
    {1146, "IBM1146"},
    {1147, "IBM1147"},
    {1148, "IBM1148"},
    {1149, "IBM1149"},
    {1200, "UTF-16LE"},
    {1201, "UTF-16BE"},
    {1250, "CP1250"},
    {1251, "CP1251"},
    {1252, "CP1252"},
    {1253, "CP1253"},
    {1254, "CP1254"},
    {1255, "CP1255"},
    {1256, "CP1256"},
    {1257, "CP1257"},
    {1258, "CP1258"},
    {1361, "JOHAB"},
    {10000, "MACINTOSH"},
    {10007, "MAC-CYRILLIC"},
    {10017, "MAC-UK"},
    {10029, "MAC-CENTRALEUROPE"},
    {10079, "MAC-IS"},
    {12000, "UTF-32LE"},
    {12001, "UTF-32BE"},
    {20106, "DIN_66003"},
    {20107, "SEN_850200_B"},
    {20108, "NS_4551-1"},
    {20127, "ASCII"},
    {20261, "T.61-8BIT"},
    {20269, "ISO_6937"},
    {20273, "IBM273"},
    {20277, "IBM277"},
    {20278, "IBM278"},
    {20280, "IBM280"},
    {20284, "IBM284"},
    {20285, "IBM285"},
    {20290, "IBM290"},
    {20297, "IBM297"},
    {20420, "IBM420"},
    {20423, "IBM423"},
    {20424, "IBM424"},
    {20866, "KOI8-R"},
    {20871, "IBM871"},
    {20880, "IBM880"},
    {20905, "IBM905"},
    {20932, "EUC-JP"},
    {20936, "GB2312"},
    {20949, "EUC-KR"},
    {21025, "IBM1025"},
    {21866, "KOI8-U"},
    {28591, "ISO-8859-1"},
    {28592, "ISO-8859-2"},
    {28593, "ISO-8859-3"},
    {28594, "ISO-8859-4"},
    {28595, "ISO-8859-5"},
    {28596, "ISO-8859-6"},
    {28597, "ISO-8859-7"},
    {28598, "ISO-8859-8"},
    {28599, "ISO-8859-9"},
    {28603, "ISO-8859-13"},
    {28605, "ISO-8859-15"},
    // Logical-order Hebrew is stored with the same bytes as the visual-order code page.
    {38598, "ISO-8859-8"},
    {50220, "ISO-2022-JP"},
    // glibc's plain ISO-2022-JP refuses the half-width katakana set that 50221 allows.
    {50221, "ISO-2022-JP-3"},
    {50225, "ISO-2022-KR"},
    {50227, "ISO-2022-CN"},
    // Not in the name table, but the number .NET gives EUC-JP, so a caller may well pass it.
    {51932, "EUC-JP"},
    {51936, "EUC-CN"},
    {51949, "EUC-KR"},
    {54936, "GB18030"},
    {65000, "UTF-7"},
    {65001, "UTF-8"},
};

constexpr bool IconvRowsAreSorted() {
    for (std::size_t i = 1; i < std::size(kIconvRows); ++i) {
        if (kIconvRows[i - 1].codePage >= kIconvRows[i].codePage)
            return false;
    }
    return true;
}

static_assert(IconvRowsAreSorted());

}  // namespace

int CodePageFromName(std::u16string_view name) {
    if (name.empty())
        return 0;
    if (name.substr(0, 6) == u"UTF-32")
        return kCodePageOwnUtf32;
    if (name.size() >= kNameLengthLimit)
        return 0;
    const std::size_t bucket = BucketOf(name);
    for (std::size_t i = kBuckets.start[bucket]; i < kBuckets.start[bucket + 1]; ++i) {
        const NameRow& row = kNameRows[kBuckets.order[i]];
        if (EqualsFolded(name, row.name))
            return row.codePage;
    }
    return 0;
}

std::size_t CodePageTableSize() {
    return kRowCount;
}

std::size_t CodePageBucketCount() {
    return kBucketCount;
}

CodePageTableRow CodePageTableRowAt(std::size_t index) {
    return {kNameRows[index].name, kNameRows[index].codePage};
}

const char* IconvNameForCodePage(int codePage) {
    const auto* row =
        std::lower_bound(std::begin(kIconvRows), std::end(kIconvRows), codePage,
                         [](const IconvRow& r, int value) { return r.codePage < value; });
    if (row == std::end(kIconvRows) || row->codePage != codePage)
        return nullptr;
    return row->iconvName;
}
