#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// Reads one value of a Windows initialisation file ("[section]" lines followed by "key=value"
// lines), the way the language files are written.
//
// The file is read afresh on every call; nothing is cached, so a changed file or another file name
// takes effect at the next read. The text may be UTF-8 with or without its byte-order mark, or
// UTF-16 (little- or big-endian) with its mark. Bytes that are no valid UTF-8 read as U+FFFD, so a
// file in another encoding still yields its ASCII names and something readable.
//
// Lines end with CR LF, LF or CR. Blanks (space, tab, vertical tab, form feed) around section
// names, key names and values are ignored, and section and key names are compared without regard
// to ASCII case. A line whose first non-blank character is ';' is a comment. Only the first
// section of the requested name is searched, and in it the first line with the requested key
// counts. A line without '=' holds no value; lines before the first section belong to none.
//
// The value loses one pair of enclosing quotes (both '"' or both '\''), ends at an embedded zero
// character, and is cut to kIniValueLimit UTF-16 units; a surrogate pair that the cut would split
// is dropped whole. A missing or unreadable file, section or key gives the empty string.

// The longest value returned: a buffer of 260 UTF-16 units with its terminator.
inline constexpr std::size_t kIniValueLimit = 259;

// Files longer than this are read only up to it; a language file is a few tens of kilobytes.
inline constexpr std::size_t kIniFileSizeLimit = 16u * 1024u * 1024u;

std::u16string ReadIniString(const std::filesystem::path& file, std::u16string_view section,
                             std::u16string_view key);
