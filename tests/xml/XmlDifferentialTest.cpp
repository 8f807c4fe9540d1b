// XmlDocument against expat: the same well-formed documents are read by both, and the element trees
// (names, order, nesting) and the decoded attribute values must agree. The documents are written
// here: a hand-written set for the awkward corners and a few hundred from a seeded generator. Each
// is read from memory (SetText) and from files in UTF-8 with and without a byte-order mark and in
// UTF-16 of both byte orders with a mark. The generated documents are then edited as they are read
// (attributes set, elements added between and after others) and saved in the encoding they came
// in; and the writer builds documents of its own. Expat and LoadFile must both read each saved file
// as the tree that was meant.

#include <expat.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "support/TempDir.h"
#include "text/Utf.h"
#include "xml/XmlDocument.h"

namespace {

using Attributes = std::vector<std::pair<std::u16string, std::u16string>>;

struct Element {
    std::u16string name;
    Attributes attributes;
    std::vector<Element> children;
};

std::string U8(std::u16string_view text) {
    return ToUtf8(text);
}

// ---------------------------------------------------------------------------------------------
// Reading with expat

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
using ParserHandle = std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserFree>;

// Builds the element tree from expat's callbacks. Open elements are kept on a stack by value and
// moved into their parent when they end, so no pointer into a growing vector is ever held.
struct ExpatTree {
    XML_Parser parser = nullptr;
    std::vector<Element> open;
    std::vector<Element> top;

    static void XMLCALL Start(void* data, const XML_Char* name, const XML_Char** atts) {
        auto* tree = static_cast<ExpatTree*>(data);
        Element element;
        element.name = FromUtf8(name);
        // Only the attributes written in the tag: a DTD's defaults are not part of the text that
        // XmlDocument reads.
        const int specified = XML_GetSpecifiedAttributeCount(tree->parser);
        for (int i = 0; i < specified; i += 2) {
            element.attributes.emplace_back(FromUtf8(atts[i]), FromUtf8(atts[i + 1]));
        }
        tree->open.push_back(std::move(element));
    }
    static void XMLCALL End(void* data, const XML_Char*) {
        auto* tree = static_cast<ExpatTree*>(data);
        Element element = std::move(tree->open.back());
        tree->open.pop_back();
        (tree->open.empty() ? tree->top : tree->open.back().children).push_back(std::move(element));
    }
};

struct ExpatResult {
    bool ok = false;
    std::string error;
    std::vector<Element> top;
};

// Parses bytes in whatever encoding their mark or declaration says (UTF-8 by default).
ExpatResult ParseWithExpat(std::string_view bytes) {
    ParserHandle parser(XML_ParserCreate(nullptr));
    ExpatTree tree;
    tree.parser = parser.get();
    XML_SetUserData(parser.get(), &tree);
    XML_SetElementHandler(parser.get(), &ExpatTree::Start, &ExpatTree::End);
    ExpatResult result;
    if (XML_Parse(parser.get(), bytes.data(), static_cast<int>(bytes.size()), XML_TRUE) ==
        XML_STATUS_ERROR) {
        result.error = std::string(XML_ErrorString(XML_GetErrorCode(parser.get()))) + " at line " +
                       std::to_string(XML_GetCurrentLineNumber(parser.get())) + ", column " +
                       std::to_string(XML_GetCurrentColumnNumber(parser.get()));
        return result;
    }
    result.ok = true;
    result.top = std::move(tree.top);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Reading with XmlDocument

// Walks the siblings at the cursor's level and everything below them. Every attribute is also
// looked up by name, which must give the value GetAttributes reported.
void WalkDocument(XmlDocument& document, const std::string& path, std::vector<Element>& out,
                  std::vector<std::string>& lookupErrors) {
    while (document.FindElement()) {
        Element element;
        element.name = std::u16string(document.TagName(document.CurrentIndex()));
        element.attributes = document.GetAttributes();
        const std::string here =
            path + "/" + U8(element.name) + "[" + std::to_string(out.size()) + "]";
        for (const auto& [name, value] : element.attributes) {
            const std::u16string found = document.GetAttribute(name);
            if (found != value) {
                lookupErrors.push_back(here + "@" + U8(name) + ": GetAttribute gives \"" +
                                       U8(found) + "\", GetAttributes \"" + U8(value) + "\"");
            }
        }
        document.EnterElement();
        WalkDocument(document, here, element.children, lookupErrors);
        document.LeaveElement();
        out.push_back(std::move(element));
    }
}

// ---------------------------------------------------------------------------------------------
// Comparing trees

std::string Quoted(std::u16string_view text) {
    return "\"" + U8(text) + "\"";
}

std::string DescribeAttributes(const Attributes& attributes) {
    std::string out;
    for (const auto& [name, value] : attributes) {
        out += " " + U8(name) + "=" + Quoted(value);
    }
    return out.empty() ? " (none)" : out;
}

// The path of the first difference between two sibling lists and what each side has there, or an
// empty string when the trees are the same. `reader` names whoever read `actual`.
std::string FirstDifference(const std::vector<Element>& expected,
                            const std::vector<Element>& actual, const std::string& path,
                            const std::string& reader = "XmlDocument") {
    for (std::size_t i = 0; i < expected.size() || i < actual.size(); ++i) {
        if (i >= actual.size()) {
            return path + "/" + U8(expected[i].name) + "[" + std::to_string(i) + "]: " + reader +
                   " does not have it";
        }
        if (i >= expected.size()) {
            return path + "/" + U8(actual[i].name) + "[" + std::to_string(i) + "]: " + reader +
                   " has an element more";
        }
        const Element& e = expected[i];
        const Element& a = actual[i];
        const std::string here = path + "/" + U8(e.name) + "[" + std::to_string(i) + "]";
        if (e.name != a.name) {
            return here + ": " + reader + " names it " + Quoted(a.name);
        }
        if (e.attributes != a.attributes) {
            return here + ": attributes differ\n  expected:" + DescribeAttributes(e.attributes) +
                   "\n  " + reader + ":" + DescribeAttributes(a.attributes);
        }
        std::string inner = FirstDifference(e.children, a.children, here, reader);
        if (!inner.empty()) {
            return inner;
        }
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// The bytes of each source

std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        out.push_back(bigEndian ? high : low);
        out.push_back(bigEndian ? low : high);
    }
    return out;
}

// How a document reaches both parsers.
enum class Source { kSetText, kUtf8, kUtf8Mark, kUtf16LeMark, kUtf16BeMark };

struct SourceCase {
    Source source;
    const char* name;
    const char16_t* declaredEncoding;  // what the XML declaration names, when it names one
};

constexpr SourceCase kSources[] = {
    {Source::kSetText, "SetText", u"UTF-8"},
    {Source::kUtf8, "Utf8File", u"UTF-8"},
    {Source::kUtf8Mark, "Utf8FileWithMark", u"UTF-8"},
    {Source::kUtf16LeMark, "Utf16LeFileWithMark", u"UTF-16"},
    {Source::kUtf16BeMark, "Utf16BeFileWithMark", u"UTF-16"},
};

// The bytes of a file holding `text` in the source's encoding (none for SetText: expat then reads
// the UTF-8 form).
std::string EncodeFor(Source source, std::u16string_view text) {
    switch (source) {
        case Source::kSetText:
        case Source::kUtf8:
            return ToUtf8(text);
        case Source::kUtf8Mark:
            return "\xEF\xBB\xBF" + ToUtf8(text);
        case Source::kUtf16LeMark:
            return "\xFF\xFE" + Utf16Bytes(text, false);
        case Source::kUtf16BeMark:
            return "\xFE\xFF" + Utf16Bytes(text, true);
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// The corpus

// A document is its body plus the style of its XML declaration, which is written per source so
// that the declared encoding always matches the bytes.
enum class Declaration { kNone, kVersion, kEncoding, kStandaloneSingleQuoted, kSpacedEquals };

struct Document {
    std::string label;
    Declaration declaration = Declaration::kEncoding;
    std::u16string body;
};

std::u16string Render(const Document& document, std::u16string_view encoding) {
    std::u16string out;
    switch (document.declaration) {
        case Declaration::kNone:
            break;
        case Declaration::kVersion:
            out = u"<?xml version=\"1.0\"?>\r\n";
            break;
        case Declaration::kEncoding:
            out = u"<?xml version=\"1.0\" encoding=\"" + std::u16string(encoding) + u"\"?>\r\n";
            break;
        case Declaration::kStandaloneSingleQuoted:
            out = u"<?xml version='1.0' encoding='" + std::u16string(encoding) +
                  u"' standalone='yes'?>\n";
            break;
        case Declaration::kSpacedEquals: {
            std::u16string lower(encoding);
            for (char16_t& c : lower) {
                c = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
            }
            out = u"<?xml version = \"1.0\"\tencoding =\r\n'" + lower + u"' ?>";
            break;
        }
    }
    return out + document.body;
}

// Documents written out by hand for the corners a generator reaches only by luck.
std::vector<Document> HandWrittenDocuments() {
    std::vector<Document> documents = {
        {"macro export", Declaration::kEncoding,
         u"<root>\r\n<macro name=\"Burst &amp; hold\">\r\n"
         u"<event key_code=\"65\" key_flag=\"1\" delay=\"20\" event_type=\"2\" "
         u"macro_index=\"0\"/>\r\n"
         u"<event key_code=\"65\" key_flag=\"0\" delay=\"35\" event_type=\"2\" "
         u"macro_index=\"1\"/>\r\n"
         u"</macro>\r\n<macro name=\"\"/>\r\n</root>\r\n"},
        {"every escape in both quotes", Declaration::kNone,
         u"<r d=\"&lt;&gt;&amp;&quot;&apos;\" s='&lt;&gt;&amp;&quot;&apos;'/>"},
        {"the other quote and '>' literally", Declaration::kVersion,
         u"<r a=\"it's > that\" b='say \"hi\" >' c=\"/>\" d='/'/>"},
        {"a value that looks like the end of an empty tag", Declaration::kNone,
         u"<r a=\"x/\"><c b='/>'/><d e=\"&quot;/&gt;\"/></r>"},
        {"references are decoded once", Declaration::kNone,
         u"<r a=\"&amp;lt;\" b=\"&#38;lt;\" c=\"&#x26;amp;\" d=\"&amp;#65;\" e=\"&amp;amp;\"/>"},
        {"character references at the edges of the ranges", Declaration::kEncoding,
         u"<r a=\"&#9;&#10;&#13;&#32;\" b=\"&#xD7FF;&#xE000;&#xFFFD;\" c=\"&#x10000;&#x10FFFF;\" "
         u"d=\"&#65536;&#1114111;\" e=\"&#x1F600;&#x41;\" f=\"&#x00041;&#0000065;&#x1f600;\"/>"},
        {"whitespace around '=' and between attributes", Declaration::kSpacedEquals,
         u"<r\r\n  a\t=\t\"1\"\n b =\r\n'2'\r\n\tc= \"3\"   \r\n/>"},
        {"end tags with whitespace", Declaration::kNone,
         u"<r><a></a ><b>\r\n</b\r\n><c x='1'   ></c\t></r  >"},
        {"comments holding markup", Declaration::kEncoding,
         u"<!-- <r> before the root --><r><!-- <a b=\"c\"/> --><a/><!--<b>--><!----><!-- ]]> "
         u"&bogus; - x --></r><!-- </r> after -->"},
        {"CDATA holding markup", Declaration::kNone,
         u"<r><![CDATA[<a href=\"x\">&amp;</a><!-- c --><?pi?>]]><b/><![CDATA[]]>"
         u"<![CDATA[x]]]><![CDATA[<![CDATA[ ]] > ]]><c/></r>"},
        {"processing instructions", Declaration::kVersion,
         u"<?kestrel-hint a > b ? c?><r><?pi?><?pi <x/> '\"?><a/><?render data?></r><?tail?>"},
        {"document type without a subset", Declaration::kEncoding,
         u"<!DOCTYPE r PUBLIC \"-//Kestrel//DTD Macros 1.0//EN\" \"macros.dtd\">\r\n<r a=\"1\"/>"},
        {"document type with an internal subset", Declaration::kStandaloneSingleQuoted,
         u"<!DOCTYPE r [\r\n<!ELEMENT r ANY>\r\n<!ATTLIST r version CDATA #IMPLIED lang CDATA "
         u"\"en\">\r\n<!ENTITY vendor \"Kestrel\">\r\n<!NOTATION png SYSTEM "
         u"\"image/png\">\r\n]>\r\n"
         u"<r version=\"2\"><x/></r>"},
        {"text content with references and '>'", Declaration::kNone,
         u"<r>a &gt; b &lt;c&gt; &amp; &#x1F600; \"q\" 'q' > ] ]<a>x = y</a>\r\n\ttext</r>"},
        {"non-ASCII names and values", Declaration::kEncoding,
         u"<données größe=\"naïve café\" 名前=\"漢字かな\" Ωμέγα='Ελληνικά'>"
         u"<данные ключ=\"значение 😀\"/><ns:élément ns:attr=\"𝄞 clef\"/></données>"},
        {"names with every name punctuation", Declaration::kNone,
         u"<_r a.b-c_d:e=\"1\" :x=\"2\"><a.b-c_d:e/><_1-./></_r>"},
        {"a value with '=' and quotes of both kinds", Declaration::kNone,
         u"<r a=\"x='y'\" b='u=\"v\"' c=\"=\"/>"},
        {"empty values", Declaration::kNone, u"<r a=\"\" b=''><c d=\"\"/></r>"},
    };

    // Deep nesting and a wide level.
    Document deep{"deep nesting", Declaration::kNone, {}};
    for (int i = 0; i < 300; ++i) {
        deep.body += u"<n" + FromUtf8(std::to_string(i % 7)) + u" level=\"" +
                     FromUtf8(std::to_string(i)) + u"\">";
    }
    for (int i = 299; i >= 0; --i) {
        deep.body += u"</n" + FromUtf8(std::to_string(i % 7)) + u">";
    }
    documents.push_back(std::move(deep));

    Document wide{"a thousand siblings", Declaration::kEncoding, u"<r>"};
    for (int i = 0; i < 1000; ++i) {
        wide.body += u"<e i=\"" + FromUtf8(std::to_string(i)) + u"\"/>\r\n";
    }
    wide.body += u"</r>";
    documents.push_back(std::move(wide));

    // A start tag longer than the index records exactly, so its end is found again in the text.
    Document longTag{"a start tag of more than four million characters", Declaration::kNone, {}};
    longTag.body = u"<r a=\"" + std::u16string(4200000, u'x') + u"&gt;\" b='&lt;'><c d=\"1\"/></r>";
    documents.push_back(std::move(longTag));
    return documents;
}

// A deterministic source of choices; the same seed gives the same corpus on every platform.
class Choices {
public:
    explicit Choices(std::uint32_t seed) : engine_(seed) {}
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(engine_() % n); }
    bool Percent(unsigned p) { return Below(100) < p; }
    template <typename T, std::size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[Below(N)];
    }

private:
    std::mt19937 engine_;
};

constexpr const char16_t* kElementNames[] = {
    u"root", u"macro", u"event", u"key",   u"a",      u"b.c",     u"x-y",    u"ns:item",
    u"_n",   u"größe", u"名前",  u"Ωμέγα", u"данные", u"élément", u"ĉapelo", u"h2o",
};
constexpr const char16_t* kAttributeNames[] = {
    u"name", u"key_code", u"delay", u"a",    u"b-c",   u"d.e", u"xml:lang",   u"ns:v",
    u"_u",   u"größe",    u"名前",  u"ключ", u"Ωμέγα", u"z9",  u"event_type",
};
constexpr const char16_t* kSpaces[] = {u" ", u"  ", u"\t", u"\n", u"\r\n", u"\r\n\t "};
constexpr const char16_t* kOptionalSpaces[] = {u"", u"", u"", u" ", u"\t", u"\r\n", u" \n "};
// Pieces of attribute values, to be joined; neither quote appears here (quotes are added
// separately, escaped or as the quote the value is not delimited by).
constexpr const char16_t* kValuePieces[] = {
    u"plain",  u" ", u"42", u">",     u"a > b", u"&lt;",     u"&gt;", u"&amp;", u"&quot;",
    u"&apos;", u"=", u"/",  u"?",     u"!",     u"]]>",      u"--",   u"é",     u"naïve",
    u"漢字",   u"😀", u"𝄞",  u"Ωμέγα", u"/>",    u"&amp;lt;", u"#",    u";",     u"x;y",
};
constexpr const char16_t* kTextPieces[] = {
    u"text", u" ", u"\r\n",  u"\t", u"a > b", u"&lt;tag&gt;", u"&amp;", u"&#x1F600;", u"&#233;",
    u"\"",   u"'", u"x = y", u"/",  u"?",     u"é漢😀",        u"]",     u"/>",
};
constexpr const char16_t* kCommentBodies[] = {
    u" plain ", u" <a> ",    u"<b x=\"1\"/>",    u" ]]> ", u" &amp; &undefined; ", u" - dash ",
    u" é漢😀 ",  u" <?pi?> ", u"<![CDATA[ x ]]>", u"",      u" </root> ",
};
constexpr const char16_t* kCdataBodies[] = {
    u"<a>", u"</root>", u"<b c=\"d\"/>", u"&amp;",     u"&#60;", u"<!-- c -->", u"<?pi x?>",
    u"]]",  u"] ]>",    u"é😀",           u"<![CDATA[", u"",      u"'\"",
};
constexpr const char16_t* kInstructions[] = {
    u"<?pi?>",          u"<?pi data?>",           u"<?kestrel-hint a > b?>",
    u"<?render <x/>?>", u"<?pi ? not the end ?>", u"<?q 'single' \"double\"?>",
    u"<?ĉapelo é😀?>",
};

class Generator {
public:
    explicit Generator(std::uint32_t seed) : choose_(seed) {}

    Document Next(int number) {
        Document document;
        document.label = "generated #" + std::to_string(number);
        document.declaration = static_cast<Declaration>(choose_.Below(5));
        budget_ = 4 + static_cast<int>(choose_.Below(40));

        std::u16string& out = document.body;
        const std::u16string rootName = choose_.Pick(kElementNames);
        Misc(out);
        if (choose_.Percent(30)) {
            DocumentType(out, rootName);
            Misc(out);
        }
        ElementTree(out, rootName, 0);
        Misc(out);
        return document;
    }

private:
    // Whitespace, comments and processing instructions outside the root.
    void Misc(std::u16string& out) {
        for (std::size_t n = choose_.Below(4); n > 0; --n) {
            switch (choose_.Below(3)) {
                case 0:
                    out += choose_.Pick(kSpaces);
                    break;
                case 1:
                    out += u"<!--" + std::u16string(choose_.Pick(kCommentBodies)) + u"-->";
                    break;
                case 2:
                    out += choose_.Pick(kInstructions);
                    break;
            }
        }
    }

    void DocumentType(std::u16string& out, const std::u16string& root) {
        switch (choose_.Below(4)) {
            case 0:
                out += u"<!DOCTYPE " + root + u">";
                break;
            case 1:
                out += u"<!DOCTYPE " + root + u" SYSTEM \"macros.dtd\">";
                break;
            case 2:
                out += u"<!DOCTYPE " + root +
                       u" PUBLIC '-//Kestrel//DTD Macros 1.0//EN' \"http://example.com/m.dtd\">";
                break;
            case 3:
                out += u"<!DOCTYPE " + root + u" [\r\n<!ELEMENT " + root + u" ANY>\r\n<!ATTLIST " +
                       root + u" version CDATA #IMPLIED>\r\n<!ENTITY vendor \"Kestrel\">\r\n]>";
                break;
        }
    }

    // A character reference to a character XML allows, in decimal or hexadecimal, sometimes
    // with leading zeros. XmlDocument reads a reference of at most nine characters between "&"
    // and ";", so the digits stop at eight ("#" and eight) or seven ("#x" and seven).
    std::u16string CharacterReference() {
        static constexpr char32_t kSpecial[] = {9, 10, 13, 32, '"', '&', '\'', '<', '>', 'A', 0x7F};
        char32_t code = 0;
        switch (choose_.Below(5)) {
            case 0:
                code = choose_.Pick(kSpecial);
                break;
            case 1:
                code = 0xA0 + static_cast<char32_t>(choose_.Below(0x60));
                break;
            case 2:
                code = 0x100 + static_cast<char32_t>(choose_.Below(0xD800 - 0x100));
                break;
            case 3:
                code = 0xE000 + static_cast<char32_t>(choose_.Below(0xFFFE - 0xE000));
                break;
            case 4:
                code = 0x10000 + static_cast<char32_t>(choose_.Below(0x100000));
                break;
        }
        const bool hex = choose_.Percent(50);
        std::string digits;
        if (hex) {
            static constexpr char kLower[] = "0123456789abcdef";
            static constexpr char kUpper[] = "0123456789ABCDEF";
            const char* table = choose_.Percent(50) ? kLower : kUpper;
            for (char32_t v = code; v != 0; v /= 16) {
                digits.insert(digits.begin(), table[v % 16]);
            }
        } else {
            digits = std::to_string(code);
        }
        const std::size_t maxDigits = hex ? 7 : 8;
        const std::size_t zeros = choose_.Below(maxDigits - digits.size() + 1);
        digits.insert(0, zeros, '0');
        return FromUtf8((hex ? "&#x" : "&#") + digits + ";");
    }

    std::u16string Value(char16_t quote) {
        std::u16string value;
        for (std::size_t n = choose_.Below(6); n > 0; --n) {
            switch (choose_.Below(4)) {
                case 0:
                    value += CharacterReference();
                    break;
                case 1:
                    value += quote == u'"' ? u"'" : u"\"";
                    break;  // the other quote as it is
                default:
                    value += choose_.Pick(kValuePieces);
                    break;
            }
        }
        return value;
    }

    std::u16string StartTagContent() {
        std::u16string out;
        std::vector<std::u16string> names;
        for (std::size_t n = choose_.Below(5); n > 0; --n) {
            std::u16string name = choose_.Pick(kAttributeNames);
            if (std::find(names.begin(), names.end(), name) != names.end()) {
                continue;
            }
            names.push_back(name);
            const char16_t quote = choose_.Percent(50) ? u'"' : u'\'';
            out += choose_.Pick(kSpaces) + name + choose_.Pick(kOptionalSpaces) + u"=" +
                   choose_.Pick(kOptionalSpaces) + quote + Value(quote) + quote;
        }
        out += choose_.Pick(kOptionalSpaces);
        return out;
    }

    void Content(std::u16string& out) {
        switch (choose_.Below(6)) {
            case 0:
                out += choose_.Pick(kTextPieces);
                break;
            case 1:
                out += CharacterReference();
                break;
            case 2:
                out += u"<!--" + std::u16string(choose_.Pick(kCommentBodies)) + u"-->";
                break;
            case 3:
                out += u"<![CDATA[" + std::u16string(choose_.Pick(kCdataBodies)) + u"]]>";
                break;
            case 4:
                out += choose_.Pick(kInstructions);
                break;
            case 5:
                out += choose_.Pick(kSpaces);
                break;
        }
    }

    void ElementTree(std::u16string& out, const std::u16string& name, int depth) {
        --budget_;
        out += u"<" + name + StartTagContent();
        const std::size_t children = depth > 8 || budget_ <= 0 ? 0 : choose_.Below(5);
        if (children == 0 && choose_.Percent(60)) {
            out += u"/>";
            return;
        }
        out += u">";
        for (std::size_t i = 0; i < children && budget_ > 0; ++i) {
            if (choose_.Percent(50)) {
                Content(out);
            }
            ElementTree(out, choose_.Pick(kElementNames), depth + 1);
        }
        if (choose_.Percent(40)) {
            Content(out);
        }
        out += u"</" + name + choose_.Pick(kOptionalSpaces) + u">";
    }

    Choices choose_;
    int budget_ = 0;
};

const std::vector<Document>& GeneratedDocuments() {
    static const std::vector<Document> documents = [] {
        std::vector<Document> out;
        Generator generator(0x4B657374);
        for (int i = 0; i < 400; ++i) {
            out.push_back(generator.Next(i));
        }
        return out;
    }();
    return documents;
}

// ---------------------------------------------------------------------------------------------
// Reading the corpus

std::vector<std::string> EditAndCompare(XmlDocument& xml, std::vector<Element> expected,
                                        std::uint32_t seed, const TempDir& folder);

// Reads one document both ways from `source` and returns a description of every disagreement.
// With `editSeed`, the document XmlDocument read is then edited and saved (EditAndCompare).
std::vector<std::string> Compare(const Document& document, const SourceCase& source,
                                 const TempDir& folder,
                                 std::optional<std::uint32_t> editSeed = std::nullopt) {
    const std::u16string text = Render(document, source.declaredEncoding);
    const std::string bytes = EncodeFor(source.source, text);
    std::vector<std::string> problems;

    const ExpatResult reference = ParseWithExpat(bytes);
    if (!reference.ok) {
        // The corpus holds well-formed documents only: a fault in the corpus itself.
        problems.push_back("expat rejects the document: " + reference.error);
        return problems;
    }

    const std::u16string file =
        source.source == Source::kSetText ? u"" : folder.Write("document.xml", bytes);
    auto load = [&](XmlDocument& xml) {
        return source.source == Source::kSetText ? xml.SetText(text.c_str()) : xml.LoadFile(file);
    };

    XmlDocument xml;
    const bool loaded = load(xml);
    if (!loaded || !xml.IsWellFormed()) {
        problems.push_back("XmlDocument does not find it well-formed; log: " + U8(xml.ResultLog()));
    }

    std::vector<Element> walked;
    WalkDocument(xml, "", walked, problems);
    std::string difference = FirstDifference(reference.top, walked, "");
    if (!difference.empty()) {
        problems.push_back(difference);
    }
    if (editSeed && problems.empty()) {
        XmlDocument edited;
        load(edited);
        problems = EditAndCompare(edited, reference.top, *editSeed, folder);
    }
    return problems;
}

void ExpectAgreement(const std::vector<Document>& documents, const SourceCase& source,
                     bool edit = false) {
    TempDir folder;
    ASSERT_FALSE(folder.Path().empty());
    for (std::size_t i = 0; i < documents.size(); ++i) {
        const Document& document = documents[i];
        const std::vector<std::string> problems = Compare(
            document, source, folder,
            edit ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(i)) : std::nullopt);
        if (problems.empty()) {
            continue;
        }
        std::string report;
        for (const std::string& problem : problems) {
            report += "  " + problem + "\n";
        }
        std::string shown = U8(Render(document, source.declaredEncoding));
        if (shown.size() > 4000) {
            shown = shown.substr(0, 2000) + "\n[... " + std::to_string(shown.size() - 4000) +
                    " bytes ...]\n" + shown.substr(shown.size() - 2000);
        }
        ADD_FAILURE() << document.label << " read via " << source.name << ":\n"
                      << report << "document:\n"
                      << shown;
    }
}

void PrintTo(const SourceCase& source, std::ostream* out) {
    *out << source.name;
}

class XmlDifferential : public testing::TestWithParam<SourceCase> {};

TEST_P(XmlDifferential, HandWrittenDocumentsReadAsExpatReadsThem) {
    ExpectAgreement(HandWrittenDocuments(), GetParam());
}

TEST_P(XmlDifferential, GeneratedDocumentsReadAsExpatReadsThem) {
    ExpectAgreement(GeneratedDocuments(), GetParam());
}

// Well-formed documents that XmlDocument reads differently from expat. Disabled until the reader
// handles them; run with --gtest_also_run_disabled_tests to see what each side says.
TEST(XmlDifferentialKnown, DISABLED_DocumentsXmlDocumentReadsDifferently) {
    const std::vector<Document> documents = {
        // A numeric reference of more than nine characters between "&" and ";" stays text.
        {"a hexadecimal reference with leading zeros", Declaration::kNone,
         u"<r a=\"&#x0000000041;\"/>"},
        {"a decimal reference with leading zeros", Declaration::kNone, u"<r a=\"&#000000065;\"/>"},
        // A quoted literal in the document type is not stepped over as one piece: a ">" inside it
        // ends the declaration, and what follows is read as markup.
        {"'>' in an entity value of the internal subset", Declaration::kNone,
         u"<!DOCTYPE r [<!ENTITY e \"1>2\"><!ENTITY f \"x\">]><r/>"},
        {"'>' in an attribute default of the internal subset", Declaration::kNone,
         u"<!DOCTYPE r [<!ATTLIST r a CDATA \"x>y\"><!ELEMENT r ANY>]><r/>"},
        {"']>' in an entity value", Declaration::kNone,
         u"<!DOCTYPE r [<!ENTITY f \"]>\"><!ELEMENT r ANY>]><r/>"},
        {"'<!' in an entity value", Declaration::kNone, u"<!DOCTYPE r [<!ENTITY e '<!x'>]><r/>"},
        {"markup in a system literal", Declaration::kNone, u"<!DOCTYPE r SYSTEM \"a><q/>\"><r/>"},
    };
    ExpectAgreement(documents, kSources[0]);
}

// ---------------------------------------------------------------------------------------------
// Writing

// Values for the writer: every character that needs escaping, references that must stay text, and
// text outside the BMP. Tab, CR and LF are left out: they are written as they are, and an XML
// parser reads them back as spaces.
constexpr const char16_t* kWrittenPieces[] = {
    u"<", u">", u"&",     u"'",     u"\"",   u"&amp;", u"&#65;", u"&lt;x&gt;", u"]]>",  u"/>",
    u"=", u" ", u"plain", u"naïve", u"漢字", u"😀",     u"𝄞",     u"Ωμέγα",     u"-- ?", u"\"'<>&",
};
constexpr const char16_t* kLatin1Pieces[] = {
    u"<",   u">",  u"&", u"'",     u"\"",     u"&amp;", u"&#65;",
    u"]]>", u"/>", u" ", u"naïve", u"café ÿ", u"½ × ¾", u"plain",
};

struct WriterCase {
    const char* name;
    const char16_t* declaration;
    bool latin1Only;  // values the declared encoding can hold
};

constexpr WriterCase kWriterCases[] = {
    {"Utf8", u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", false},
    {"Utf16", u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n", false},
    {"Latin1", u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n", true},
};

// An element to write. An attribute whose `overwrite` is set is first written with a number and
// given its value later, which must replace the number in place.
struct PlannedElement {
    Element element;
    std::vector<bool> overwrite;
    bool lateAttribute = false;  // one more attribute set after the children are written
    std::vector<PlannedElement> children;
};

class TreePlanner {
public:
    TreePlanner(std::uint32_t seed, bool latin1Only) : choose_(seed), latin1Only_(latin1Only) {}

    PlannedElement Tree() {
        budget_ = 3 + static_cast<int>(choose_.Below(30));
        return Plan(0);
    }

private:
    std::u16string Value() {
        std::u16string value;
        for (std::size_t n = choose_.Below(6); n > 0; --n) {
            value += latin1Only_ ? choose_.Pick(kLatin1Pieces) : choose_.Pick(kWrittenPieces);
        }
        return value;
    }

    // A name from the pool that the declared encoding can hold.
    template <std::size_t N>
    std::u16string Name(const char16_t* const (&pool)[N]) {
        for (;;) {
            std::u16string name = choose_.Pick(pool);
            if (!latin1Only_ ||
                std::all_of(name.begin(), name.end(), [](char16_t c) { return c <= 0xFF; })) {
                return name;
            }
        }
    }

    PlannedElement Plan(int depth) {
        --budget_;
        PlannedElement planned;
        planned.element.name = Name(kElementNames);
        for (std::size_t n = choose_.Below(5); n > 0; --n) {
            std::u16string name = Name(kAttributeNames);
            bool taken = false;
            for (const auto& attribute : planned.element.attributes) {
                taken = taken || attribute.first == name;
            }
            if (!taken && name != u"late") {
                planned.element.attributes.emplace_back(name, Value());
                planned.overwrite.push_back(choose_.Percent(25));
            }
        }
        const std::size_t children = depth > 6 || budget_ <= 0 ? 0 : choose_.Below(5);
        for (std::size_t i = 0; i < children && budget_ > 0; ++i) {
            planned.children.push_back(Plan(depth + 1));
        }
        planned.lateAttribute = !planned.children.empty() && choose_.Percent(30);
        return planned;
    }

    Choices choose_;
    bool latin1Only_;
    int budget_ = 0;
};

// The late attribute's value is fixed so the expected tree can be derived from the plan alone.
constexpr char16_t kLateName[] = u"late";
constexpr char16_t kLateValue[] = u"set after the children: <&>";

void Write(XmlDocument& document, const PlannedElement& planned) {
    ASSERT_TRUE(document.AddElement(planned.element.name));
    const Attributes& attributes = planned.element.attributes;
    // Overwritten attributes first get a number, and their value once all are in place.
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        ASSERT_TRUE(planned.overwrite[i]
                        ? document.SetAttribute(attributes[i].first, -12345)
                        : document.SetAttribute(attributes[i].first, attributes[i].second));
    }
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        if (planned.overwrite[i]) {
            ASSERT_TRUE(document.SetAttribute(attributes[i].first, attributes[i].second));
        }
    }
    if (planned.children.empty()) {
        return;
    }
    ASSERT_TRUE(document.EnterElement());
    for (const PlannedElement& child : planned.children) {
        Write(document, child);
    }
    ASSERT_TRUE(document.LeaveElement());
    if (planned.lateAttribute) {
        ASSERT_TRUE(document.SetAttribute(kLateName, kLateValue));
    }
}

Element Expected(const PlannedElement& planned) {
    Element element = planned.element;
    if (planned.lateAttribute) {
        element.attributes.emplace_back(kLateName, kLateValue);
    }
    for (const PlannedElement& child : planned.children) {
        element.children.push_back(Expected(child));
    }
    return element;
}

void PrintTo(const WriterCase& writer, std::ostream* out) {
    *out << writer.name;
}

class XmlWriterRoundTrip : public testing::TestWithParam<WriterCase> {};

TEST_P(XmlWriterRoundTrip, SavedDocumentsReadBackAsWritten) {
    const WriterCase& writer = GetParam();
    TempDir folder;
    ASSERT_FALSE(folder.Path().empty());
    const std::u16string file = folder.File16("written.xml");
    TreePlanner planner(0x57726974, writer.latin1Only);

    for (int round = 0; round < 150; ++round) {
        const PlannedElement plan = planner.Tree();
        const std::vector<Element> expected = {Expected(plan)};

        XmlDocument document;
        document.SetText(writer.declaration);
        Write(document, plan);
        ASSERT_TRUE(document.SaveFile(file)) << U8(document.ResultLog());
        const std::string bytes = folder.Read("written.xml");
        const std::string written = U8(document.Text());

        const ExpatResult reference = ParseWithExpat(bytes);
        if (!reference.ok) {
            ADD_FAILURE() << "round " << round
                          << ": expat rejects the saved document: " << reference.error << "\n"
                          << written;
            continue;
        }
        std::string difference = FirstDifference(expected, reference.top, "", "expat");
        EXPECT_TRUE(difference.empty())
            << "round " << round << ": expat reads back something else: " << difference << "\n"
            << written;

        XmlDocument reloaded;
        EXPECT_TRUE(reloaded.LoadFile(file)) << U8(reloaded.ResultLog());
        std::vector<Element> walked;
        std::vector<std::string> lookupErrors;
        WalkDocument(reloaded, "", walked, lookupErrors);
        difference = FirstDifference(expected, walked, "");
        EXPECT_TRUE(difference.empty())
            << "round " << round << ": LoadFile reads back something else: " << difference << "\n"
            << written;
        for (const std::string& error : lookupErrors) {
            ADD_FAILURE() << "round " << round << ": " << error;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Encodings, XmlWriterRoundTrip, testing::ValuesIn(kWriterCases),
                         [](const testing::TestParamInfo<WriterCase>& info) {
                             return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------------------------
// Editing what was read

// Sets an attribute on the cursor's element, and the same on `element`: a name it has already
// gets the new value in place, a new name goes last.
bool SetAndMirror(XmlDocument& document, Element& element, Choices& choose) {
    const std::u16string name = choose.Pick(kAttributeNames);
    std::u16string value;
    for (std::size_t n = choose.Below(5); n > 0; --n) {
        value += choose.Pick(kWrittenPieces);
    }
    if (!document.SetAttribute(name, value)) {
        return false;
    }
    for (auto& attribute : element.attributes) {
        if (attribute.first == name) {
            attribute.second = value;
            return true;
        }
    }
    element.attributes.emplace_back(name, value);
    return true;
}

// Walks the siblings at the cursor's level as WalkDocument does, and on the way sets attributes,
// adds elements after some of them (between siblings, so later elements move) and adds last
// children, making each edit to `siblings` as well.
bool EditWalk(XmlDocument& document, std::vector<Element>& siblings, Choices& choose,
              bool topLevel) {
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        if (!document.FindElement()) {
            return false;
        }
        Element& element = siblings[i];
        if (choose.Percent(30) && !SetAndMirror(document, element, choose)) {
            return false;
        }
        if (!element.children.empty() || choose.Percent(25)) {
            if (!document.EnterElement() || !EditWalk(document, element.children, choose, false)) {
                return false;
            }
            if (choose.Percent(25)) {
                element.children.push_back(Element{choose.Pick(kElementNames), {}, {}});
                if (!document.AddElement(element.children.back().name) ||
                    (choose.Percent(50) &&
                     !SetAndMirror(document, element.children.back(), choose))) {
                    return false;
                }
            }
            if (!document.LeaveElement()) {
                return false;
            }
            // The start tag grows after its content moved on.
            if (choose.Percent(25) && !SetAndMirror(document, element, choose)) {
                return false;
            }
        }
        if (!topLevel && choose.Percent(15)) {
            Element added{choose.Pick(kElementNames), {}, {}};
            if (!document.AddElement(added.name) ||
                (choose.Percent(50) && !SetAndMirror(document, added, choose))) {
                return false;
            }
            siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                            std::move(added));
            ++i;
        }
    }
    return true;
}

// Edits a freshly loaded document, saves it in the encoding it was read in, and checks that expat
// and LoadFile read the saved file as the edited tree.
std::vector<std::string> EditAndCompare(XmlDocument& xml, std::vector<Element> expected,
                                        std::uint32_t seed, const TempDir& folder) {
    std::vector<std::string> problems;
    Choices choose(seed);
    if (!EditWalk(xml, expected, choose, true)) {
        problems.push_back("an edit was refused or the cursor lost its way");
        return problems;
    }
    const std::string edited = U8(xml.Text());
    const std::u16string file = folder.File16("edited.xml");
    if (!xml.SaveFile(file)) {
        problems.push_back("SaveFile fails: " + U8(xml.ResultLog()));
        return problems;
    }
    const ExpatResult saved = ParseWithExpat(folder.Read("edited.xml"));
    if (!saved.ok) {
        problems.push_back("expat rejects the edited document: " + saved.error);
    } else if (std::string difference = FirstDifference(expected, saved.top, "", "expat");
               !difference.empty()) {
        problems.push_back("expat reads the edited document differently: " + difference);
    }
    XmlDocument reloaded;
    if (!reloaded.LoadFile(file)) {
        problems.push_back("LoadFile of the edited document fails: " + U8(reloaded.ResultLog()));
    }
    std::vector<Element> walked;
    WalkDocument(reloaded, "", walked, problems);
    if (std::string difference = FirstDifference(expected, walked, ""); !difference.empty()) {
        problems.push_back("LoadFile reads the edited document differently: " + difference);
    }
    if (!problems.empty()) {
        problems.push_back("edited document:\n" + edited);
    }
    return problems;
}

TEST_P(XmlDifferential, EditedDocumentsSaveAsEdited) {
    ExpectAgreement(GeneratedDocuments(), GetParam(), true);
}

INSTANTIATE_TEST_SUITE_P(Sources, XmlDifferential, testing::ValuesIn(kSources),
                         [](const testing::TestParamInfo<SourceCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
