#pragma once

#include <string>
#include <string_view>

// Conversions between the program's UTF-16 strings and the UTF-8 used in the database, in written
// files and at the library boundaries. Malformed input never fails: an unpaired surrogate or an
// invalid UTF-8 sequence becomes U+FFFD, so every text survives the trip in some readable form.

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// Appends the UTF-8 form of one code point (U+FFFD for surrogates and values above U+10FFFF).
void AppendUtf8(std::string& out, char32_t codePoint);
// Appends one code point as UTF-16, a surrogate pair above U+FFFF (U+FFFD when invalid).
void AppendUtf16(std::u16string& out, char32_t codePoint);
