#pragma once

// The start-up choice of the interface language, made after config.xml has been read:
//   1. CurrentLanguage = the stored "LCID".
//   2. If that is 0 (nothing stored yet), CurrentLanguage = the user's default interface language
//      (platform/UserLanguage.h), and "LCID" is stored as that language when config.xml offers it,
//      else as 1033.
//   3. If CurrentLanguage is not offered, it becomes 1033 and 1033 is stored.
// Returns the chosen language.
int ChooseLanguage();
