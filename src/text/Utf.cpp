#include "text/Utf.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
        cp = kReplacement;
    }
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
        cp = kReplacement;
    }
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t unit = text[i];
        if (unit < 0x80) {
            out.push_back(static_cast<char>(unit));
        } else if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            char32_t cp = 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            AppendUtf8(out, cp);
            ++i;
        } else {
            AppendUtf8(out, unit);  // a lone surrogate turns into U+FFFD here
        }
    }
    return out;
}

std::u16string FromUtf8(std::string_view text) {
    // Sized for the worst case (one unit per byte) and trimmed at the end; runs of ASCII, the
    // common case in every file the program reads, are copied eight bytes at a time.
    std::u16string out(text.size(), u'\0');
    char16_t* const begin = out.data();
    char16_t* dest = begin;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
#if defined(__SSE2__)
        if (i + 16 <= size) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
            if (_mm_movemask_epi8(chunk) == 0) {
                const __m128i zero = _mm_setzero_si128();
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dest), _mm_unpacklo_epi8(chunk, zero));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + 8),
                                 _mm_unpackhi_epi8(chunk, zero));
                dest += 16;
                i += 16;
                continue;
            }
        }
#endif
        if (i + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                for (int k = 0; k < 8; ++k) {
                    dest[k] = bytes[i + k];
                }
                dest += 8;
                i += 8;
                continue;
            }
        }
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            *dest++ = lead;
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1, cp = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2, cp = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3, cp = lead & 0x07, minimum = 0x10000;
        } else {
            *dest++ = char16_t(kReplacement);
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        int taken = 0;
        while (taken < extra && j < size && (bytes[j] & 0xC0) == 0x80) {
            cp = (cp << 6) | (bytes[j] & 0x3F);
            ++j, ++taken;
        }
        i = j;  // past the lead byte and every continuation byte taken
        if (taken < extra || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            *dest++ = char16_t(kReplacement);  // one replacement per malformed sequence
        } else if (cp < 0x10000) {
            *dest++ = static_cast<char16_t>(cp);
        } else {
            // Four bytes in, two units out: there is always room.
            cp -= 0x10000;
            *dest++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *dest++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        }
    }
    out.resize(static_cast<std::size_t>(dest - begin));
    return out;
}
