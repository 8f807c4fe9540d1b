#pragma once

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Searches over UTF-16 text that the indexer and the attribute reader run on every character of a
// document: eight units at a time where SSE2 is available, one at a time elsewhere.

// Position of the first unit equal to `a`, `b` or `c` at or after `pos`, or `size` when none is.
inline std::size_t FindAnyOf3(const char16_t* s, std::size_t pos, std::size_t size, char16_t a,
                              char16_t b, char16_t c) {
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi16(static_cast<short>(a));
    const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
    const __m128i vc = _mm_set1_epi16(static_cast<short>(c));
    while (pos + 8 <= size) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + pos));
        const __m128i hit =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(chunk, va), _mm_cmpeq_epi16(chunk, vb)),
                         _mm_cmpeq_epi16(chunk, vc));
        const int mask = _mm_movemask_epi8(hit);
        if (mask != 0) {
            return pos + (static_cast<unsigned>(__builtin_ctz(static_cast<unsigned>(mask))) >> 1);
        }
        pos += 8;
    }
#endif
    while (pos < size && s[pos] != a && s[pos] != b && s[pos] != c) {
        ++pos;
    }
    return pos;
}

// Position of the first `c` at or after `pos`, or `size` when there is none.
inline std::size_t FindUnit(const char16_t* s, std::size_t pos, std::size_t size, char16_t c) {
#if defined(__SSE2__)
    const __m128i needle = _mm_set1_epi16(static_cast<short>(c));
    while (pos + 8 <= size) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + pos));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(chunk, needle));
        if (mask != 0) {
            return pos + (static_cast<unsigned>(__builtin_ctz(static_cast<unsigned>(mask))) >> 1);
        }
        pos += 8;
    }
#endif
    while (pos < size && s[pos] != c) {
        ++pos;
    }
    return pos;
}
