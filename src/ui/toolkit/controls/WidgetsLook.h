#pragma once

#include "ui/toolkit/Color.h"

// The built-in flat dark look shared by the widget controls (tabs, lists, sliders, progress
// bars, the device cards), used wherever a skin image is missing. The accent is
// Manager::GetSelectionColor().
namespace widgets_look {

inline constexpr Argb kFill = 0xFF2E3136u;           // control faces, cards, tracks
inline constexpr Argb kFillHover = 0xFF3A3E44u;      // a face under the pointer
inline constexpr Argb kFillDeep = 0xFF232528u;       // wells: list backgrounds, empty tracks
inline constexpr Argb kBorder = 0xFF4A4E55u;         // outlines and separators
inline constexpr Argb kBorderDim = 0xFF33363Au;      // outlines of disabled controls
inline constexpr Argb kText = 0xFFFFFFFFu;           // main text
inline constexpr Argb kTextSecondary = 0xFF969696u;  // descriptions, units, captions
inline constexpr Argb kTextDisabled = 0xFF6A6D72u;
inline constexpr Argb kGood = 0xFF4CAF50u;  // online, battery well charged
inline constexpr Argb kWarn = 0xFFF5A623u;  // battery getting low, linking
inline constexpr Argb kBad = 0xFFE04848u;   // battery nearly empty

// `color` with its red, green and blue moved `amount` (0..255) of the way towards white.
constexpr Argb Lighten(Argb color, unsigned amount) {
    auto mix = [amount](unsigned c) { return c + (255u - c) * amount / 255u; };
    return (color & 0xFF000000u) | (mix((color >> 16) & 0xFFu) << 16) |
           (mix((color >> 8) & 0xFFu) << 8) | mix(color & 0xFFu);
}

}  // namespace widgets_look
