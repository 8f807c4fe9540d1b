#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

class SettingsStore;

// Profile files: a profile's button assignments, lighting modes (for models with a lighting page),
// DPI stages and performance settings as XML, written and read through XmlDocument (UTF-8 without
// a byte-order mark, CR LF, no indentation).
//
// Both return false with a short English reason in `error` when the file cannot be written or read
// (or is not a profile file); the callers name the file. User-interface thread or the command-line
// tool; each store operation takes the store's lock.

// What an export writes, besides the store's rows: the assignments of `keyProfile`, everything
// else of `currentProfile` (the same profile whenever the window exports), and `shownName`, the
// profile's name as the profile button shows it.
struct ProfileExport {
    int keyProfile = 0;
    int currentProfile = 0;
    bool hasLighting = false;
    std::u16string shownName;
};

bool ExportProfile(SettingsStore& store, const ProfileExport& what,
                   const std::filesystem::path& file, std::string& error);

// Limits of an import. Key items naming more key codes than kMaxImportedKeys are ignored from the
// first new key code past it on (items for key codes already read still count): the store finds a
// key's row by scanning the profile's rows, so each new key makes the next one slower (a hundred
// thousand keys take minutes), and no mouse has anywhere near that many buttons. Files larger than
// kMaxProfileFileSize are refused; real ones are a few kilobytes.
inline constexpr std::size_t kMaxImportedKeys = 1024;
inline constexpr std::size_t kMaxProfileFileSize = std::size_t{64} << 20;

// Reads `file` into `currentProfile`: renames the profile after the file's title (its name
// without the folder and the last four characters), replaces its assignments and overwrites the
// lighting parameters and settings the file carries. `newName` receives the new name. The caller
// has the worker send the profile afterwards. A file that cannot be loaded or has another root
// changes nothing.
bool ImportProfile(SettingsStore& store, int currentProfile, bool hasLighting,
                   const std::filesystem::path& file, std::u16string& newName, std::string& error);
