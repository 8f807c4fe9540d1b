#include <gtest/gtest.h>

#include "support/Printable.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "xml/EntityTable.h"

namespace {

struct EntityCase {
    std::u16string_view name;
    char32_t codePoint;
};

// "apos" and the named entities of HTML 4 with their code points, as Python's
// html.entities.name2codepoint lists them.
const EntityCase kHtml4Entities[] = {
    {u"Aacute", 0x00C1},  {u"aacute", 0x00E1},  {u"Acirc", 0x00C2},   {u"acirc", 0x00E2},
    {u"acute", 0x00B4},   {u"AElig", 0x00C6},   {u"aelig", 0x00E6},   {u"Agrave", 0x00C0},
    {u"agrave", 0x00E0},  {u"alefsym", 0x2135}, {u"Alpha", 0x0391},   {u"alpha", 0x03B1},
    {u"amp", 0x0026},     {u"and", 0x2227},     {u"ang", 0x2220},     {u"apos", 0x0027},
    {u"Aring", 0x00C5},   {u"aring", 0x00E5},   {u"asymp", 0x2248},   {u"Atilde", 0x00C3},
    {u"atilde", 0x00E3},  {u"Auml", 0x00C4},    {u"auml", 0x00E4},    {u"bdquo", 0x201E},
    {u"Beta", 0x0392},    {u"beta", 0x03B2},    {u"brvbar", 0x00A6},  {u"bull", 0x2022},
    {u"cap", 0x2229},     {u"Ccedil", 0x00C7},  {u"ccedil", 0x00E7},  {u"cedil", 0x00B8},
    {u"cent", 0x00A2},    {u"Chi", 0x03A7},     {u"chi", 0x03C7},     {u"circ", 0x02C6},
    {u"clubs", 0x2663},   {u"cong", 0x2245},    {u"copy", 0x00A9},    {u"crarr", 0x21B5},
    {u"cup", 0x222A},     {u"curren", 0x00A4},  {u"Dagger", 0x2021},  {u"dagger", 0x2020},
    {u"dArr", 0x21D3},    {u"darr", 0x2193},    {u"deg", 0x00B0},     {u"Delta", 0x0394},
    {u"delta", 0x03B4},   {u"diams", 0x2666},   {u"divide", 0x00F7},  {u"Eacute", 0x00C9},
    {u"eacute", 0x00E9},  {u"Ecirc", 0x00CA},   {u"ecirc", 0x00EA},   {u"Egrave", 0x00C8},
    {u"egrave", 0x00E8},  {u"empty", 0x2205},   {u"emsp", 0x2003},    {u"ensp", 0x2002},
    {u"Epsilon", 0x0395}, {u"epsilon", 0x03B5}, {u"equiv", 0x2261},   {u"Eta", 0x0397},
    {u"eta", 0x03B7},     {u"ETH", 0x00D0},     {u"eth", 0x00F0},     {u"Euml", 0x00CB},
    {u"euml", 0x00EB},    {u"euro", 0x20AC},    {u"exist", 0x2203},   {u"fnof", 0x0192},
    {u"forall", 0x2200},  {u"frac12", 0x00BD},  {u"frac14", 0x00BC},  {u"frac34", 0x00BE},
    {u"frasl", 0x2044},   {u"Gamma", 0x0393},   {u"gamma", 0x03B3},   {u"ge", 0x2265},
    {u"gt", 0x003E},      {u"hArr", 0x21D4},    {u"harr", 0x2194},    {u"hearts", 0x2665},
    {u"hellip", 0x2026},  {u"Iacute", 0x00CD},  {u"iacute", 0x00ED},  {u"Icirc", 0x00CE},
    {u"icirc", 0x00EE},   {u"iexcl", 0x00A1},   {u"Igrave", 0x00CC},  {u"igrave", 0x00EC},
    {u"image", 0x2111},   {u"infin", 0x221E},   {u"int", 0x222B},     {u"Iota", 0x0399},
    {u"iota", 0x03B9},    {u"iquest", 0x00BF},  {u"isin", 0x2208},    {u"Iuml", 0x00CF},
    {u"iuml", 0x00EF},    {u"Kappa", 0x039A},   {u"kappa", 0x03BA},   {u"Lambda", 0x039B},
    {u"lambda", 0x03BB},  {u"lang", 0x2329},    {u"laquo", 0x00AB},   {u"lArr", 0x21D0},
    {u"larr", 0x2190},    {u"lceil", 0x2308},   {u"ldquo", 0x201C},   {u"le", 0x2264},
    {u"lfloor", 0x230A},  {u"lowast", 0x2217},  {u"loz", 0x25CA},     {u"lrm", 0x200E},
    {u"lsaquo", 0x2039},  {u"lsquo", 0x2018},   {u"lt", 0x003C},      {u"macr", 0x00AF},
    {u"mdash", 0x2014},   {u"micro", 0x00B5},   {u"middot", 0x00B7},  {u"minus", 0x2212},
    {u"Mu", 0x039C},      {u"mu", 0x03BC},      {u"nabla", 0x2207},   {u"nbsp", 0x00A0},
    {u"ndash", 0x2013},   {u"ne", 0x2260},      {u"ni", 0x220B},      {u"notin", 0x2209},
    {u"not", 0x00AC},     {u"nsub", 0x2284},    {u"Ntilde", 0x00D1},  {u"ntilde", 0x00F1},
    {u"Nu", 0x039D},      {u"nu", 0x03BD},      {u"Oacute", 0x00D3},  {u"oacute", 0x00F3},
    {u"Ocirc", 0x00D4},   {u"ocirc", 0x00F4},   {u"OElig", 0x0152},   {u"oelig", 0x0153},
    {u"Ograve", 0x00D2},  {u"ograve", 0x00F2},  {u"oline", 0x203E},   {u"Omega", 0x03A9},
    {u"omega", 0x03C9},   {u"Omicron", 0x039F}, {u"omicron", 0x03BF}, {u"oplus", 0x2295},
    {u"ordf", 0x00AA},    {u"ordm", 0x00BA},    {u"or", 0x2228},      {u"Oslash", 0x00D8},
    {u"oslash", 0x00F8},  {u"Otilde", 0x00D5},  {u"otilde", 0x00F5},  {u"otimes", 0x2297},
    {u"Ouml", 0x00D6},    {u"ouml", 0x00F6},    {u"para", 0x00B6},    {u"part", 0x2202},
    {u"permil", 0x2030},  {u"perp", 0x22A5},    {u"Phi", 0x03A6},     {u"phi", 0x03C6},
    {u"Pi", 0x03A0},      {u"pi", 0x03C0},      {u"piv", 0x03D6},     {u"plusmn", 0x00B1},
    {u"pound", 0x00A3},   {u"Prime", 0x2033},   {u"prime", 0x2032},   {u"prod", 0x220F},
    {u"prop", 0x221D},    {u"Psi", 0x03A8},     {u"psi", 0x03C8},     {u"quot", 0x0022},
    {u"radic", 0x221A},   {u"rang", 0x232A},    {u"raquo", 0x00BB},   {u"rArr", 0x21D2},
    {u"rarr", 0x2192},    {u"rceil", 0x2309},   {u"rdquo", 0x201D},   {u"real", 0x211C},
    {u"reg", 0x00AE},     {u"rfloor", 0x230B},  {u"Rho", 0x03A1},     {u"rho", 0x03C1},
    {u"rlm", 0x200F},     {u"rsaquo", 0x203A},  {u"rsquo", 0x2019},   {u"sbquo", 0x201A},
    {u"Scaron", 0x0160},  {u"scaron", 0x0161},  {u"sdot", 0x22C5},    {u"sect", 0x00A7},
    {u"shy", 0x00AD},     {u"Sigma", 0x03A3},   {u"sigmaf", 0x03C2},  {u"sigma", 0x03C3},
    {u"sim", 0x223C},     {u"spades", 0x2660},  {u"sube", 0x2286},    {u"sub", 0x2282},
    {u"sum", 0x2211},     {u"sup1", 0x00B9},    {u"sup2", 0x00B2},    {u"sup3", 0x00B3},
    {u"supe", 0x2287},    {u"sup", 0x2283},     {u"szlig", 0x00DF},   {u"Tau", 0x03A4},
    {u"tau", 0x03C4},     {u"there4", 0x2234},  {u"Theta", 0x0398},   {u"thetasym", 0x03D1},
    {u"theta", 0x03B8},   {u"thinsp", 0x2009},  {u"THORN", 0x00DE},   {u"thorn", 0x00FE},
    {u"tilde", 0x02DC},   {u"times", 0x00D7},   {u"trade", 0x2122},   {u"Uacute", 0x00DA},
    {u"uacute", 0x00FA},  {u"uArr", 0x21D1},    {u"uarr", 0x2191},    {u"Ucirc", 0x00DB},
    {u"ucirc", 0x00FB},   {u"Ugrave", 0x00D9},  {u"ugrave", 0x00F9},  {u"uml", 0x00A8},
    {u"upsih", 0x03D2},   {u"Upsilon", 0x03A5}, {u"upsilon", 0x03C5}, {u"Uuml", 0x00DC},
    {u"uuml", 0x00FC},    {u"weierp", 0x2118},  {u"Xi", 0x039E},      {u"xi", 0x03BE},
    {u"Yacute", 0x00DD},  {u"yacute", 0x00FD},  {u"yen", 0x00A5},     {u"Yuml", 0x0178},
    {u"yuml", 0x00FF},    {u"Zeta", 0x0396},    {u"zeta", 0x03B6},    {u"zwj", 0x200D},
    {u"zwnj", 0x200C},
};

char16_t FoldAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

std::u16string Folded(std::u16string_view name) {
    std::u16string out(name);
    for (char16_t& c : out)
        c = FoldAscii(c);
    return out;
}

std::u16string ToUpperAscii(std::u16string_view name) {
    std::u16string out(name);
    for (char16_t& c : out) {
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return out;
}

bool HasCapital(std::u16string_view name) {
    return Folded(name) != name;
}

void ExpectCodePoints(const std::vector<EntityCase>& cases) {
    for (const EntityCase& c : cases) {
        EXPECT_EQ(LookupEntity(c.name), c.codePoint) << "name \"" << Printable(c.name) << "\"";
    }
}

TEST(EntityTableTest, HasItsDocumentedSize) {
    EXPECT_EQ(EntityTableSize(), 253u);
    EXPECT_EQ(EntityBucketCount(), 130u);
}

// With the table holding as many rows as this list has distinct names, every name decoding to its
// own code point also proves the table holds no duplicate and misses no name.
TEST(EntityTableTest, DecodesEveryHtml4NameAndApos) {
    std::set<std::u16string_view> names;
    for (const EntityCase& entity : kHtml4Entities) {
        EXPECT_TRUE(names.insert(entity.name).second) << Printable(entity.name) << " listed twice";
        EXPECT_EQ(LookupEntity(entity.name), entity.codePoint) << Printable(entity.name);
    }
    EXPECT_EQ(names.size(), EntityTableSize());
}

TEST(EntityTableTest, CaseTwinsPreferExactSpellingThenCapital) {
    ExpectCodePoints({
        {u"OMEGA", U'\u03A9'},
        {u"omega", U'\u03C9'},
        {u"Omega", U'\u03A9'},
        {u"oMEGA", U'\u03A9'},
        {u"RARR", U'\u21D2'},
        {u"rarr", U'\u2192'},
        {u"rArr", U'\u21D2'},
        {u"Rarr", U'\u21D2'},
        {u"AGRAVE", U'\u00C0'},
        {u"agrave", U'\u00E0'},
        {u"Agrave", U'\u00C0'},
        {u"DAGGER", U'\u2021'},
        {u"dagger", U'\u2020'},
        {u"PRIME", U'\u2033'},
        {u"prime", U'\u2032'},
        {u"Thorn", U'\u00DE'},
        {u"thorn", U'\u00FE'},
        {u"Eth", U'\u00D0'},
        {u"eth", U'\u00F0'},
        {u"OElig", U'\u0152'},
        {u"oelig", U'\u0153'},
        {u"OELIG", U'\u0152'},
        {u"Sigmaf", U'\u03C2'},
        {u"SIGMA", U'\u03A3'},
        {u"AMP", U'&'},
        {u"Quot", U'"'},
        {u"APOS", U'\''},
        {u"Lt", U'<'},
        {u"GT", U'>'},
        {u"NBSP", U'\u00A0'},
        {u"THETASYM", U'\u03D1'},
    });
}

// The same rule over every name: an exact spelling wins, otherwise of the names equal to it
// without regard to ASCII case the one with a capital letter (or the only one) decodes.
TEST(EntityTableTest, AnyAsciiCaseSpellingOfEveryNameDecodes) {
    std::map<std::u16string, std::vector<const EntityCase*>> byFolded;
    for (const EntityCase& entity : kHtml4Entities)
        byFolded[Folded(entity.name)].push_back(&entity);
    auto expected = [&](std::u16string_view spelling) -> char32_t {
        const std::vector<const EntityCase*>& matches = byFolded.at(Folded(spelling));
        for (const EntityCase* match : matches) {
            if (match->name == spelling)
                return match->codePoint;
        }
        const auto capital = std::find_if(matches.begin(), matches.end(),
                                          [](const EntityCase* m) { return HasCapital(m->name); });
        return capital != matches.end() ? (*capital)->codePoint : matches.front()->codePoint;
    };
    for (const EntityCase& entity : kHtml4Entities) {
        std::u16string mixed(entity.name);
        for (std::size_t i = 1; i < mixed.size(); i += 2) {
            const char16_t c = mixed[i];
            if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
                mixed[i] = static_cast<char16_t>(c ^ 0x20);  // flips the letter's case
            }
        }
        for (const std::u16string& spelling :
             {ToUpperAscii(entity.name), Folded(entity.name), mixed}) {
            EXPECT_EQ(LookupEntity(spelling), expected(spelling))
                << Printable(spelling) << " (from " << Printable(entity.name) << ")";
        }
    }
}

TEST(EntityTableTest, RejectsUnknownNames) {
    const std::u16string longName(1000, u'a');
    ExpectCodePoints({
        {u"", 0},
        {u"&amp;", 0},
        {u"amp;", 0},
        {u"ampx", 0},
        {u"am", 0},
        {u"#38", 0},
        {u"x26", 0},
        {u"nbsp ", 0},
        {std::u16string_view(u"lt\0", 3), 0},
        // Same code-unit sum, so same bucket, as "amp" and "omega".
        {u"pma", 0},
        {u"agemo", 0},
        // Kelvin sign and full-width letters fold to ASCII under Unicode rules, but must not here.
        {u"\u212Aappa", 0},
        {u"\uFF41mp", 0},
        {u"\u00C0grave", 0},
        {u"thetasyms", 0},
        {longName, 0},
    });
}

// The documented hash (ASCII-folded code-unit sum modulo the bucket count) must spread the names
// so that a lookup compares only a handful of them.
TEST(EntityTableTest, HashSpreadsNamesOverBuckets) {
    std::map<std::size_t, int> perBucket;
    for (const EntityCase& entity : kHtml4Entities) {
        std::size_t sum = 0;
        for (char16_t c : entity.name)
            sum += FoldAscii(c);
        ++perBucket[sum % EntityBucketCount()];
    }
    int longest = 0;
    for (const auto& [bucket, count] : perBucket)
        longest = std::max(longest, count);
    EXPECT_GE(perBucket.size(), 85u);
    EXPECT_LE(longest, 7);
}

}  // namespace
