#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Every text the user reads comes by number from the file of the current language,
// <executable folder>/language/<CurrentLanguage>.lan, section "LAN", key = the number in decimal.
// Each lookup reads the file again, so a change of CurrentLanguage (or of the file) shows at the
// next lookup. A missing file, section or key gives the empty string.

// The section every caller passes.
inline constexpr std::u16string_view kTextSection = u"LAN";

// <executable folder>/language
std::filesystem::path LanguageFolder();

// <folder>/<lcid>.lan
std::filesystem::path LanguageFile(const std::filesystem::path& folder, int lcid);

// The file of CurrentLanguage in LanguageFolder().
std::filesystem::path CurrentLanguageFile();

// The text `id` of the current language, at most 259 UTF-16 units long.
std::u16string GetText(int id, std::u16string_view section);

// The same, from the language files in `folder` instead of the installed ones.
std::u16string GetText(int id, std::u16string_view section, const std::filesystem::path& folder);
