#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Starting with the desktop session, the stand-in for a value under the registry's "Run" key: an
// XDG autostart entry, the file $XDG_CONFIG_HOME/autostart/<name>.desktop, with '/' and control
// characters of the name replaced by '_' (AppFileName.h). The entry is on exactly when the file
// exists.

namespace platform {

// Empty when no config folder is known or the name is empty.
std::filesystem::path AutostartEntryPath(std::u16string_view appName);
bool AutostartEntryExists(std::u16string_view appName);

// The entry's text, exactly:
//   [Desktop Entry]\nType=Application\nName=<appName>\nExec=<QuoteExecArgument(exe)> <arguments>\n
//   X-GNOME-Autostart-enabled=true\n
// `arguments` (already in Exec syntax, e.g. "-autorun") is appended after one space when not
// empty. Nothing can add a line: in the name and the arguments, control characters become spaces;
// a backslash in the name is written "\\", the string escape of the Desktop Entry format.
std::string AutostartEntryText(std::u16string_view appName, const std::filesystem::path& exe,
                               std::string_view arguments);
// Writes the entry atomically (WriteFileAtomically), creating the autostart folder. False on
// failure, and also when `exe` or `arguments` hold a control character: such an entry would start
// some other program than the one asked for.
bool WriteAutostartEntry(std::u16string_view appName, const std::filesystem::path& exe,
                         std::string_view arguments);
// True when the entry is gone afterwards: also when there was none, or no config folder is known.
bool RemoveAutostartEntry(std::u16string_view appName);

// One argument of an Exec line per the Desktop Entry rules: always inside double quotes; inside
// them '"', '`', '$' and '\' get a backslash; then, because Exec is a string value whose
// backslashes are themselves escaped, every backslash is doubled; '%' becomes "%%". A control
// character (a line break above all) has no form there that every desktop reads alike, so it
// becomes a space: the entry stays one line, and WriteAutostartEntry refuses such a path anyway.
std::string QuoteExecArgument(std::string_view argument);

}  // namespace platform
