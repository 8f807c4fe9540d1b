#pragma once

#include <array>
#include <cstdint>

class MEdit;

// The red, green and blue decimal fields that the colour picker and the lighting page show
// beside their palettes. Colours are COLORREF values (red + green * 256 + blue * 65536).

// The largest value a field holds.
inline constexpr int kColorComponentMax = 255;

// The COLORREF of three components, each limited to 0-255.
std::uint32_t ColorFromComponents(int red, int green, int blue);

// Writes the colour's red, green and blue into the three fields (null fields are skipped). The
// fields send nothing for it, so this never echoes back as a user's change.
void ShowColorInFields(const std::array<MEdit*, 3>& fields, std::uint32_t color);

// The colour the three fields spell. A number outside 0-255 is brought into that range and
// written back into its field, so the field shows the value that is used; an empty field counts
// as 0 and stays empty. Null fields count as 0.
std::uint32_t ReadColorFields(const std::array<MEdit*, 3>& fields);
