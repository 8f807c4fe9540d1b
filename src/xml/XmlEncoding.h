#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Byte encodings of XML files: detection and conversion to and from the document's UTF-16 text.

// The code page used when a file names no encoding or one that is not known.
inline constexpr int kCodePageSystemAnsi = 1252;
inline constexpr int kCodePageUtf8 = 65001;
inline constexpr int kCodePageUtf16Le = 1200;
inline constexpr int kCodePageUtf16Be = 1201;

// The UTF-8 test: scans up to the end or the first zero byte; passes when every byte with its top
// bit set starts a well-formed sequence of two to four bytes (pure ASCII passes).
bool PassesUtf8Test(std::string_view bytes);

// The encoding a text declares: the "encoding" of an XML declaration at offset 0, else the charset
// of an HTML document's Content-Type meta element; empty when it declares none.
std::u16string DeclaredEncoding(std::u16string_view text);

// The code page that converts an encoding name (system ANSI for empty or unknown names).
int CodePageForEncoding(std::u16string_view name);

// Converts bytes of a code page into UTF-16; undecodable input becomes U+FFFD.
std::u16string DecodeBytes(int codePage, std::string_view bytes);

// Converts UTF-16 text into bytes of a code page; characters it cannot represent are written as
// "?" and set `lossy`.
std::string EncodeText(int codePage, std::u16string_view text, bool& lossy);

// Whether the platform's conversion for this code page can tell that characters were lost.
bool ReportsConversionLoss(int codePage);

// UTF-16 and UTF-32 code pages (1200, 1201, 12000, 12001 and the own UTF-32).
bool IsUtf16Or32CodePage(int codePage);
