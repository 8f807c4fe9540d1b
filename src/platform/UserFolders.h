#pragma once

#include <filesystem>

// Where the running program and the user's own files are. Empty paths mean "unknown"; nothing
// throws. These follow the XDG Base Directory rules: a variable that is unset, empty or not an
// absolute path is ignored in favour of the default under the home folder.

namespace platform {

// The running executable with every symbolic link resolved (/proc/self/exe).
std::filesystem::path ExecutableFile();
// The folder that holds the running executable, without a trailing separator.
std::filesystem::path ExecutableFolder();

// The user's home folder: $HOME when absolute, else the password database's entry.
std::filesystem::path HomeFolder();
// $XDG_CONFIG_HOME, default ~/.config: per-user settings.
std::filesystem::path ConfigHome();
// $XDG_DATA_HOME, default ~/.local/share: per-user data files.
std::filesystem::path DataHome();

}  // namespace platform
