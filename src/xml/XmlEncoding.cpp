#include "xml/XmlEncoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include "text/Utf.h"
#include "xml/CodePageTable.h"
#include "xml/XmlSyntax.h"

namespace {

// Windows-1252, the system ANSI code page: bytes 0x80 to 0x9F (the rest map to themselves).
// Bytes Windows leaves undefined keep their C1 control code point, as Windows converts them.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsUtf16Or32(int codePage) {
    return codePage == kCodePageUtf16Le || codePage == kCodePageUtf16Be || codePage == 12000 ||
           codePage == 12001 || codePage == kCodePageOwnUtf32;
}

std::u16string DecodeWindows1252(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto byte = static_cast<unsigned char>(bytes[i]);
        out[i] = (byte >= 0x80 && byte < 0xA0) ? kWindows1252High[byte - 0x80] : byte;
    }
    return out;
}

std::string EncodeWindows1252(std::u16string_view text, bool& lossy) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        const char16_t* found =
            std::find(std::begin(kWindows1252High), std::end(kWindows1252High), c);
        if (found != std::end(kWindows1252High)) {
            out.push_back(static_cast<char>(0x80 + (found - kWindows1252High)));
            continue;
        }
        lossy = true;
        out.push_back('?');
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;  // one "?" for the whole pair
        }
    }
    return out;
}

// The class's own UTF-32 (little-endian) handling.
std::u16string DecodeUtf32(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size() / 4 + 1);
    std::size_t i = 0;
    for (; i + 4 <= bytes.size(); i += 4) {
        auto b = [&](std::size_t k) { return char32_t(static_cast<unsigned char>(bytes[i + k])); };
        char32_t cp = b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(u'?');
        } else {
            AppendUtf16(out, cp);
        }
    }
    if (i < bytes.size()) {
        out.push_back(u'?');  // a trailing partial unit
    }
    return out;
}

std::string EncodeUtf32(std::u16string_view text, bool& lossy) {
    std::string out;
    out.reserve(text.size() * 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = u'?';
            lossy = true;
        }
        for (int shift = 0; shift < 32; shift += 8) {
            out.push_back(static_cast<char>((cp >> shift) & 0xFF));
        }
    }
    return out;
}

std::u16string DecodeUtf16Bytes(std::string_view bytes, bool bigEndian) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto lo = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 1 : 0)]);
        auto hi = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 0 : 1)]);
        out[i] = static_cast<char16_t>(lo | (hi << 8));
    }
    return out;
}

std::string EncodeUtf16Bytes(std::u16string_view text, bool bigEndian) {
    std::string out(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        out[2 * i + (bigEndian ? 1 : 0)] = static_cast<char>(text[i] & 0xFF);
        out[2 * i + (bigEndian ? 0 : 1)] = static_cast<char>(text[i] >> 8);
    }
    return out;
}

struct IconvCloser {
    void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle OpenIconv(const char* to, const char* from) {
    iconv_t handle = iconv_open(to, from);
    if (handle == reinterpret_cast<iconv_t>(-1)) {
        return nullptr;
    }
    return IconvHandle(handle);
}

// Runs iconv over the whole input; an input sequence it cannot take is replaced by `replacement`
// in the output and skipped (by `skip` bytes).
template <typename OnInvalid>
bool RunIconv(iconv_t handle, std::string_view input, std::string& output, OnInvalid onInvalid) {
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    output.assign(input.size() * 2 + 16, '\0');
    std::size_t produced = 0;
    while (inLeft > 0) {
        char* out = output.data() + produced;
        std::size_t outLeft = output.size() - produced;
        std::size_t result = iconv(handle, &in, &inLeft, &out, &outLeft);
        produced = output.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            output.resize(output.size() * 2);
        } else if (errno == EILSEQ || errno == EINVAL) {
            std::size_t skip = onInvalid(output, produced, in, inLeft);
            in += skip;
            inLeft -= skip;
        } else {
            return false;
        }
    }
    // Flush any shift state (stateful encodings such as ISO-2022-JP and UTF-7).
    for (;;) {
        char* out = output.data() + produced;
        std::size_t outLeft = output.size() - produced;
        if (iconv(handle, nullptr, nullptr, &out, &outLeft) != static_cast<std::size_t>(-1)) {
            produced = output.size() - outLeft;
            break;
        }
        if (errno != E2BIG) {
            break;
        }
        output.resize(output.size() * 2);
    }
    output.resize(produced);
    return true;
}

void AppendBytes(std::string& output, std::size_t& produced, std::string_view bytes) {
    if (produced + bytes.size() > output.size()) {
        output.resize((produced + bytes.size()) * 2);
    }
    std::memcpy(output.data() + produced, bytes.data(), bytes.size());
    produced += bytes.size();
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (x >= u'A' && x <= u'Z')
            x += 32;
        if (y >= u'A' && y <= u'Z')
            y += 32;
        if (x != y) {
            return false;
        }
    }
    return true;
}

std::size_t FindIgnoringCase(std::u16string_view text, std::u16string_view word) {
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        if (EqualsIgnoringCase(text.substr(i, word.size()), word)) {
            return i;
        }
    }
    return std::u16string_view::npos;
}

// "text/html; charset=windows-1252" -> "windows-1252".
std::u16string CharsetOf(std::u16string_view content) {
    std::size_t at = FindIgnoringCase(content, u"charset");
    if (at == std::u16string_view::npos) {
        return {};
    }
    std::size_t i = at + 7;
    while (i < content.size() && IsXmlSpace(content[i]))
        ++i;
    if (i >= content.size() || content[i] != u'=') {
        return {};
    }
    ++i;
    while (i < content.size() && IsXmlSpace(content[i]))
        ++i;
    std::size_t end = i;
    while (end < content.size() && !IsXmlSpace(content[end]) && content[end] != u';' &&
           content[end] != u'"' && content[end] != u'\'') {
        ++end;
    }
    return std::u16string(content.substr(i, end - i));
}

std::u16string AttributeOf(std::u16string_view text, std::size_t tagBegin, std::size_t tagEnd,
                           std::u16string_view name, bool ignoreCase) {
    std::u16string value;
    ForEachAttribute(text, tagBegin, tagEnd, [&](const AttributeSpan& span) {
        std::u16string_view found = text.substr(span.nameBegin, span.nameEnd - span.nameBegin);
        if (ignoreCase ? !EqualsIgnoringCase(found, name) : found != name) {
            return true;
        }
        value = DecodeReferences(text.substr(span.valueBegin, span.valueEnd - span.valueBegin));
        return false;
    });
    return value;
}

// The charset of <meta http-equiv="Content-Type" content="...; charset=NAME"> in an HTML head.
std::u16string HtmlMetaCharset(std::u16string_view text) {
    bool seenFirstElement = false;
    std::size_t pos = 0;
    for (;;) {
        std::size_t lt = text.find(u'<', pos);
        if (lt == std::u16string_view::npos || lt + 1 >= text.size()) {
            return {};
        }
        char16_t c = text[lt + 1];
        std::size_t next;
        if (text.substr(lt, 4) == u"<!--") {
            next = text.find(u"-->", lt + 4);
            next = next == std::u16string_view::npos ? next : next + 3;
        } else if (c == u'!') {
            next = text.find(u'>', lt);
            next = next == std::u16string_view::npos ? next : next + 1;
        } else if (c == u'?') {
            next = text.find(u"?>", lt);
            next = next == std::u16string_view::npos ? next : next + 2;
        } else if (c == u'/') {
            std::size_t nameEnd = TagNameEnd(text, lt + 2);
            if (EqualsIgnoringCase(text.substr(lt + 2, nameEnd - lt - 2), u"head")) {
                return {};
            }
            next = text.find(u'>', lt);
            next = next == std::u16string_view::npos ? next : next + 1;
        } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c == u':' ||
                   c >= u'{') {
            std::size_t nameEnd = TagNameEnd(text, lt + 1);
            std::size_t closingQuote = 0;
            std::size_t close = FindStartTagClose(text, nameEnd, closingQuote);
            if (close == std::u16string_view::npos) {
                return {};
            }
            std::u16string_view name = text.substr(lt + 1, nameEnd - lt - 1);
            if (!seenFirstElement) {
                seenFirstElement = true;
                if (!EqualsIgnoringCase(name, u"html")) {
                    return {};
                }
            } else if (EqualsIgnoringCase(name, u"meta") &&
                       EqualsIgnoringCase(AttributeOf(text, lt, close, u"http-equiv", true),
                                          u"Content-Type")) {
                std::u16string charset = CharsetOf(AttributeOf(text, lt, close, u"content", true));
                if (!charset.empty()) {
                    return charset;
                }
            }
            next = close + 1;
        } else {
            return {};  // a syntax error ends the walk
        }
        if (next == std::u16string_view::npos) {
            return {};
        }
        pos = next;
    }
}

}  // namespace

bool PassesUtf8Test(std::string_view bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        // Eight plain ASCII bytes (no top bit, no zero) at a time.
        if (i + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, data + i, 8);
            const std::uint64_t high = 0x8080808080808080ull;
            const std::uint64_t low = 0x0101010101010101ull;
            if ((word & high) == 0 && ((word - low) & ~word & high) == 0) {
                i += 8;
                continue;
            }
        }
        unsigned char byte = data[i];
        if (byte == 0) {
            return true;
        }
        if (byte < 0x80) {
            ++i;
            continue;
        }
        int more;
        if (!(byte & 0x20)) {
            more = 1;
        } else if (!(byte & 0x10)) {
            more = 2;
        } else if (!(byte & 0x08)) {
            more = 3;
        } else {
            return false;
        }
        ++i;
        for (int k = 0; k < more; ++k, ++i) {
            if (i >= size || !(data[i] & 0x80)) {
                return false;
            }
        }
    }
    return true;
}

std::u16string DeclaredEncoding(std::u16string_view text) {
    if (text.substr(0, 5) == u"<?xml" && text.size() > 5 &&
        (IsXmlSpace(text[5]) || text[5] == u'?')) {
        std::size_t end = text.find(u"?>", 5);
        if (end != std::u16string_view::npos) {
            std::u16string encoding = AttributeOf(text, 0, end, u"encoding", false);
            if (!encoding.empty()) {
                return encoding;
            }
        }
    }
    return HtmlMetaCharset(text);
}

int CodePageForEncoding(std::u16string_view name) {
    int codePage = CodePageFromName(name);
    return codePage == 0 ? kCodePageSystemAnsi : codePage;
}

std::u16string DecodeBytes(int codePage, std::string_view bytes) {
    switch (codePage) {
        case kCodePageUtf8:
            return FromUtf8(bytes);
        case kCodePageUtf16Le:
            return DecodeUtf16Bytes(bytes, false);
        case kCodePageUtf16Be:
            return DecodeUtf16Bytes(bytes, true);
        case kCodePageOwnUtf32:
            return DecodeUtf32(bytes);
        case kCodePageSystemAnsi:
            return DecodeWindows1252(bytes);
        default:
            break;
    }
    const char* name = IconvNameForCodePage(codePage);
    IconvHandle handle = name ? OpenIconv("UTF-16LE", name) : nullptr;
    if (!handle) {
        return DecodeWindows1252(bytes);  // no converter here: read it as the ANSI code page
    }
    std::string utf16;
    bool ok = RunIconv(static_cast<iconv_t>(handle.get()), bytes, utf16,
                       [](std::string& out, std::size_t& produced, char*, std::size_t) {
                           AppendBytes(out, produced, std::string_view("\xFD\xFF", 2));
                           return std::size_t{1};
                       });
    if (!ok) {
        return DecodeWindows1252(bytes);
    }
    return DecodeUtf16Bytes(utf16, false);
}

std::string EncodeText(int codePage, std::u16string_view text, bool& lossy) {
    switch (codePage) {
        case kCodePageUtf8:
            return ToUtf8(text);
        case kCodePageUtf16Le:
            return EncodeUtf16Bytes(text, false);
        case kCodePageUtf16Be:
            return EncodeUtf16Bytes(text, true);
        case kCodePageOwnUtf32:
            return EncodeUtf32(text, lossy);
        case kCodePageSystemAnsi:
            return EncodeWindows1252(text, lossy);
        default:
            break;
    }
    const char* name = IconvNameForCodePage(codePage);
    IconvHandle handle = name ? OpenIconv(name, "UTF-16LE") : nullptr;
    if (!handle) {
        return EncodeWindows1252(text, lossy);
    }
    std::string bytes;
    const std::string units = EncodeUtf16Bytes(text, false);
    bool ok = RunIconv(static_cast<iconv_t>(handle.get()), units, bytes,
                       [&](std::string& out, std::size_t& produced, char* in, std::size_t left) {
                           lossy = true;
                           AppendBytes(out, produced, "?");
                           // Skip one unit, or both units of a surrogate pair.
                           if (left >= 4) {
                               auto hi = static_cast<unsigned char>(in[1]);
                               auto hi2 = static_cast<unsigned char>(in[3]);
                               if (hi >= 0xD8 && hi <= 0xDB && hi2 >= 0xDC && hi2 <= 0xDF) {
                                   return std::size_t{4};
                               }
                           }
                           return std::min<std::size_t>(2, left);
                       });
    if (!ok) {
        lossy = false;
        return EncodeWindows1252(text, lossy);
    }
    return bytes;
}

bool ReportsConversionLoss(int codePage) {
    switch (codePage) {
        case 50220:
        case 50221:
        case 50222:
        case 50225:
        case 50227:
        case 50229:
        case 52936:
        case 54936:
        case 65000:
        case 65001:
            return false;
        default:
            return !(codePage >= 57002 && codePage <= 57011);
    }
}

bool IsUtf16Or32CodePage(int codePage) {
    return IsUtf16Or32(codePage);
}
