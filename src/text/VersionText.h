#pragma once

#include <string>

// A firmware release number as the program shows it: the first and the last two hexadecimal
// digits (lower case) joined by a dot, so 0x105 gives "1.05", 0x2000 "2.00" and 0 "0.0".
std::u16string ReleaseVersionText(int releaseNumber);
