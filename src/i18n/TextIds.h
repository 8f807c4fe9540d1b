#pragma once

// Language text ids that more than one part of the program shows. The texts themselves are data of
// the language files; ids used by one page only stay with that page.
namespace textid {

// The connection caption.
inline constexpr int kOffline = 50;
inline constexpr int kWired = 51;
inline constexpr int kWireless = 52;
// "No mouse found ..." and "The mouse is not connected.".
inline constexpr int kNoMouseFound = 56;
inline constexpr int kMouseNotConnected = 57;
// The word new profiles are named with ("Profile 1").
inline constexpr int kProfileWord = 61;
// "Notice", the title of the message that the mouse is not connected.
inline constexpr int kNotice = 576;
// "Export", and the message that an exported file could not be saved.
inline constexpr int kExport = 27;
inline constexpr int kFileNotSaved = 640;

}  // namespace textid
