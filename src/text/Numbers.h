#pragma once

#include <cstdint>
#include <string_view>

// The two number readers used for every value held as text (database values, registry values,
// XML attributes). Neither fails: text that is not a number reads as 0.

// Plain decimal: optional leading blanks and one sign, then digits up to the first non-digit.
// Empty or non-numeric text gives 0; values beyond the int range saturate.
int DecimalToInt(std::u16string_view text);

// Hexadecimal: optional leading blanks, an optional "0x"/"0X", then hexadecimal digits up to the
// first character that is not one. Empty or non-hexadecimal text gives 0; saturates at UINT32_MAX.
std::uint32_t HexToUInt(std::u16string_view text);
