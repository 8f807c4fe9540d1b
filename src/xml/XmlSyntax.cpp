#include "xml/XmlSyntax.h"

#include "text/Utf.h"
#include "xml/EntityTable.h"

namespace {

constexpr std::size_t kMaxReferenceName = 9;

// The code point of a numeric reference body ("#65", "#x41"); 0 when it is none.
char32_t NumericReference(std::u16string_view body) {
    std::size_t i = 1;
    unsigned base = 10;
    if (i < body.size() && (body[i] == u'x' || body[i] == u'X')) {
        base = 16;
        ++i;
    }
    char32_t value = 0;
    for (; i < body.size(); ++i) {
        char16_t c = body[i];
        unsigned digit;
        if (c >= u'0' && c <= u'9') {
            digit = c - u'0';
        } else if (base == 16 && c >= u'a' && c <= u'f') {
            digit = c - u'a' + 10;
        } else if (base == 16 && c >= u'A' && c <= u'F') {
            digit = c - u'A' + 10;
        } else {
            break;  // the number stops at the first character that is not a digit
        }
        value = value * base + digit;  // at most 8 digits: no overflow
    }
    return value > 0x10FFFF ? 0 : value;
}

}  // namespace

std::u16string DecodeReferences(std::u16string_view value) {
    std::size_t amp = value.find(u'&');
    if (amp == std::u16string_view::npos) {
        return std::u16string(value);
    }
    std::u16string out(value.substr(0, amp));
    out.reserve(value.size());
    std::size_t i = amp;
    while (i < value.size()) {
        char16_t c = value[i];
        if (c != u'&') {
            out.push_back(c);
            ++i;
            continue;
        }
        // Up to nine ASCII characters and ";".
        std::size_t end = i + 1;
        while (end < value.size() && end - (i + 1) <= kMaxReferenceName && value[end] != u';' &&
               value[end] < 0x80) {
            ++end;
        }
        char32_t codePoint = 0;
        if (end < value.size() && value[end] == u';' && end - (i + 1) <= kMaxReferenceName &&
            end > i + 1) {
            std::u16string_view body = value.substr(i + 1, end - (i + 1));
            codePoint = body[0] == u'#' ? NumericReference(body) : LookupEntity(body);
        }
        if (codePoint == 0) {
            out.push_back(u'&');
            ++i;
            continue;
        }
        AppendUtf16(out, codePoint);
        i = end + 1;
    }
    return out;
}

std::u16string EncodeAttributeValue(std::u16string_view value) {
    std::u16string out;
    out.reserve(value.size() + 8);
    for (char16_t c : value) {
        switch (c) {
            case u'<':
                out.append(u"&lt;");
                break;
            case u'&':
                out.append(u"&amp;");
                break;
            case u'>':
                out.append(u"&gt;");
                break;
            case u'\'':
                out.append(u"&apos;");
                break;
            case u'"':
                out.append(u"&quot;");
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}
