#pragma once

#include <cstdint>

// Colours of the toolkit are 0xAARRGGBB. The program's stored colours are COLORREF values
// (0x00BBGGRR, red in the low byte); the two helpers convert between them.
using Argb = std::uint32_t;

inline constexpr Argb kWhite = 0xFFFFFFFFu;
inline constexpr Argb kGrey = 0xFF969696u;

constexpr Argb ArgbFromColorRef(std::uint32_t colorRef) {
    return 0xFF000000u | ((colorRef & 0xFFu) << 16) | (colorRef & 0xFF00u) |
           ((colorRef >> 16) & 0xFFu);
}

constexpr std::uint32_t ColorRefFromArgb(Argb argb) {
    return ((argb >> 16) & 0xFFu) | (argb & 0xFF00u) | ((argb & 0xFFu) << 16);
}

// A colour given without alpha (0x00RRGGBB, as background colours are written) made opaque.
constexpr Argb Opaque(std::uint32_t rgb) {
    return (rgb & 0xFF000000u) == 0 ? (0xFF000000u | rgb) : rgb;
}

constexpr Argb WithAlpha(Argb argb, unsigned alpha) {
    return (argb & 0x00FFFFFFu) | (static_cast<Argb>(alpha & 0xFFu) << 24);
}
