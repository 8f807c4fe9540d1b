#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

class SettingsStore;

// Macro files, in two layouts: one macro ("macro"/"macroinfo"/"macroitems") or every macro
// ("macro"/"macro_item"/"record_item"), written and read through XmlDocument. Importing always adds
// new macros; nothing stored is changed.
//
// Each returns false with a short English reason in `error` when the file cannot be written or
// read (or holds no "macro" root); the callers name the file. A file that cannot be read stores
// nothing, and a failed export leaves the file it was to replace as it was (the document is written
// beside it and renamed over it). Numbers are read as plain decimals: missing or malformed ones
// are 0.

// Files larger than kMaxMacroFileSize are not imported. The whole file is read before anything
// is stored and held as UTF-16 with an index, several times its size in memory, so a huge file
// (or a pipe or device that never ends, which is refused too) must not hang the program or use up
// its memory. A macro of a hundred thousand events is a few megabytes.
inline constexpr std::size_t kMaxMacroFileSize = std::size_t{64} << 20;

// A macro an import stored: its new id and its name as the file gave it.
struct ImportedMacro {
    int id = 0;
    std::u16string name;
};

// The first layout: macro `macroId`, named `listName` (its name as the macro list shows it); false
// when no such macro is stored.
bool ExportMacro(SettingsStore& store, int macroId, const std::u16string& listName,
                 const std::filesystem::path& file, std::string& error);
// The second layout: every macro with its stored name.
bool ExportAllMacros(SettingsStore& store, const std::filesystem::path& file, std::string& error);

// The first and second layout; the macros stored are appended to `added` in file order, each
// macro's events stored in one transaction. A macro the store refuses is skipped with its events
// and makes the result false, while the ones stored stay in `added`.
bool ImportMacro(SettingsStore& store, const std::filesystem::path& file,
                 std::vector<ImportedMacro>& added, std::string& error);
bool ImportMacros(SettingsStore& store, const std::filesystem::path& file,
                  std::vector<ImportedMacro>& added, std::string& error);
