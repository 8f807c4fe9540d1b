#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "xml/XmlScan.h"

// Small pieces of XML syntax shared by the indexer, the attribute reader and writer, and the
// encoding detection.

inline bool IsXmlSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// A tag name runs from just after "<" (or "</") to whitespace, "/" or ">".
inline bool EndsTagName(char16_t c) {
    return IsXmlSpace(c) || c == u'/' || c == u'>';
}

inline std::size_t TagNameEnd(std::u16string_view text, std::size_t pos) {
    while (pos < text.size() && !EndsTagName(text[pos])) {
        ++pos;
    }
    return pos;
}

// One attribute of a start tag, as offsets into the text.
struct AttributeSpan {
    std::size_t nameBegin = 0;
    std::size_t nameEnd = 0;
    bool hasValue = false;  // false for a name with no "=" after it
    bool quoted = false;
    std::size_t valueBegin = 0;  // the value without its quotes
    std::size_t valueEnd = 0;
    std::size_t tokenEnd = 0;  // just after the value (and its closing quote)
};

// Walks the attributes of the start tag that begins at `tagBegin` (its "<") and ends before
// `tagEnd`. After the tag name come tokens separated by whitespace: a name, "=", or a value in
// double or single quotes or unquoted (up to whitespace or ">"). "/", ">" or "?" ends the list.
// `visit(const AttributeSpan&)` returns false to stop. Returns where the last attribute (or the tag
// name) ends, which is where a new attribute is inserted.
template <typename Visit>
std::size_t ForEachAttribute(std::u16string_view text, std::size_t tagBegin, std::size_t tagEnd,
                             Visit&& visit) {
    if (tagEnd > text.size()) {
        tagEnd = text.size();
    }
    auto skipSpace = [&](std::size_t i) {
        while (i < tagEnd && IsXmlSpace(text[i])) {
            ++i;
        }
        return i;
    };
    // Reads a value token at `i`; returns its span in valueBegin/valueEnd/tokenEnd.
    auto readValue = [&](std::size_t i, AttributeSpan& span) {
        if (i < tagEnd && (text[i] == u'"' || text[i] == u'\'')) {
            char16_t quote = text[i];
            std::size_t close = i + 1;
            while (close < tagEnd && text[close] != quote) {
                ++close;
            }
            span.quoted = true;
            span.valueBegin = i + 1;
            span.valueEnd = close;
            span.tokenEnd = close < tagEnd ? close + 1 : close;
        } else {
            std::size_t end = i;
            while (end < tagEnd && !IsXmlSpace(text[end]) && text[end] != u'>') {
                ++end;
            }
            span.quoted = false;
            span.valueBegin = i;
            span.valueEnd = end;
            span.tokenEnd = end;
        }
    };

    std::size_t i = TagNameEnd(text.substr(0, tagEnd), tagBegin + 1);
    std::size_t lastEnd = i;
    for (;;) {
        i = skipSpace(i);
        if (i >= tagEnd || text[i] == u'/' || text[i] == u'>' || text[i] == u'?') {
            break;
        }
        if (text[i] == u'=' || text[i] == u'"' || text[i] == u'\'') {
            // A value with no name before it: step over it.
            AttributeSpan stray;
            readValue(text[i] == u'=' ? skipSpace(i + 1) : i, stray);
            i = lastEnd = std::max(stray.tokenEnd, i + 1);
            continue;
        }
        AttributeSpan span;
        span.nameBegin = i;
        while (i < tagEnd && !IsXmlSpace(text[i]) && text[i] != u'=' && text[i] != u'/' &&
               text[i] != u'>') {
            ++i;
        }
        span.nameEnd = i;
        if (span.nameEnd == span.nameBegin) {  // cannot happen, but never loop in place
            ++i;
            continue;
        }
        std::size_t afterName = skipSpace(i);
        if (afterName < tagEnd && text[afterName] == u'=') {
            span.hasValue = true;
            readValue(skipSpace(afterName + 1), span);
            i = span.tokenEnd;
        } else {
            span.valueBegin = span.valueEnd = span.tokenEnd = span.nameEnd;
        }
        lastEnd = span.tokenEnd;
        if (!visit(static_cast<const AttributeSpan&>(span))) {
            break;
        }
    }
    return lastEnd;
}

// Decodes character and entity references ("&#65;", "&#x41;", "&amp;", "&Omega;", ...); anything
// that is not a reference is kept as it stands.
std::u16string DecodeReferences(std::u16string_view value);
// Writes "<", ">", "&", "'" and '"' as references.
std::u16string EncodeAttributeValue(std::u16string_view value);

// Scans a start tag whose name ends at `nameEnd`: returns the position of the first ">" outside a
// quoted value, or npos when the text ends first. A quote opens a value only when the last
// character before it, whitespace aside, is "=". `closingQuote` receives the position of the last
// quote that closed a value.
inline std::size_t FindStartTagClose(std::u16string_view text, std::size_t nameEnd,
                                     std::size_t& closingQuote) {
    const char16_t* s = text.data();
    const std::size_t size = text.size();
    std::size_t i = nameEnd;
    for (;;) {
        i = FindAnyOf3(s, i, size, u'>', u'"', u'\'');
        if (i >= size) {
            return std::u16string_view::npos;
        }
        if (s[i] == u'>') {
            return i;
        }
        std::size_t before = i;
        while (before > nameEnd && IsXmlSpace(s[before - 1])) {
            --before;
        }
        if (before > nameEnd && s[before - 1] == u'=') {
            const std::size_t close = FindUnit(s, i + 1, size, s[i]);
            if (close >= size) {
                return std::u16string_view::npos;
            }
            closingQuote = close;
            i = close;
        }
        ++i;
    }
}
