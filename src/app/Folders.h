#pragma once

#include <filesystem>

// The program's folders and the two whole-folder operations. Nothing throws.

// The folder of the running executable, without a trailing separator: config.xml, the language
// files, the device descriptors and the skins are found there.
std::filesystem::path ExeFolder();

// <executable folder>/skins/<theme>, the theme string of Manager::GetTheme appended as it is (it
// carries its own trailing separator).
std::filesystem::path SkinFolder();

// The per-user data folder, with a trailing separator: <data home>/<application name> Files/, the
// data home being $XDG_DATA_HOME (default ~/.local/share). When the environment variable
// KESTREL_DATA_DIR is set and not empty it replaces the whole folder, so tests and the command line
// can keep the settings somewhere else. Empty when no data home is known.
std::filesystem::path DataFolder();

// Creates a folder and every missing folder above it; true when it exists as a folder afterwards.
bool CreateFolderTree(const std::filesystem::path& path);

// Deletes a folder (or file) with everything in it; true when something was there and all of it
// is gone. An empty path, the root folder and paths ending in "." or ".." are refused.
bool DeleteFolderTree(const std::filesystem::path& path);
