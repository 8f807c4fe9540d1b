#pragma once

#include <string>

// The configuration keys of the DPI stages, numbered from 0: "dpi_group<i>_value" holds a stage's
// DPI and "dpi_group<i>_rgb" its colour (a decimal COLORREF).
std::u16string DpiValueKey(int stage);
std::u16string DpiColorKey(int stage);

// The stages that descriptors and profile files carry (dpi_1 ... dpi_6, DPI1 ... DPI6).
inline constexpr int kDpiStagesInFiles = 6;
