#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Names the program makes up itself are stored with a word for "profile", "custom" or "copy" in
// one language. These rules show them with the words of the current language: text 61 (profile),
// 351 (custom) and 31 (copy) of the language file. Names the user typed are shown as they are,
// unless they happen to begin or end with one of those words. Comparisons are exact and
// case-sensitive. Each variant with a folder takes the language files from there instead of the
// installed ones.

// A stored profile name beginning with "Profile" or "配置" becomes text 61, a space and the rest of
// the name.
std::u16string ProfileCaption(std::u16string_view storedName);
std::u16string ProfileCaption(std::u16string_view storedName, const std::filesystem::path& folder);

// The name of a macro in the macro list. First a leading "Custom" or "自定义" becomes text 351
// (nothing between it and the rest); then, if the name ends with "Copy" or "复制", it becomes the
// part before the first occurrence of that word, a space and text 31.
std::u16string MacroListName(std::u16string_view name);
std::u16string MacroListName(std::u16string_view name, const std::filesystem::path& folder);

// The name a button assignment carries, as the button list shows it. Each of the languages 1028,
// 1033, 1041, 1049 and 2052 replaces the custom words of the other languages by text 351 and the
// copy words of the other languages by its own; names are left alone in every other language.
std::u16string LocaliseAssignmentName(std::u16string_view name);
std::u16string LocaliseAssignmentName(std::u16string_view name,
                                      const std::filesystem::path& folder);
