#pragma once

#include <string>
#include <string_view>

// The application's own settings key, "SOFTWARE\<application name>" (platform/Registry.h). Values
// are decimal text; a missing, empty or non-numeric value reads as 0. Reads that create the key
// create it empty. Writes never create the key: while it cannot be opened they are dropped, and
// the result only tells whether the value was stored.

// The key's name for the current application name.
std::u16string AppKeyName();

// Any value: creates the key when it is missing (and returns 0); 0 as well when it cannot be
// opened.
int ReadAppRegValue(std::u16string_view name);
bool WriteAppRegValue(std::u16string_view name, std::u16string_view text);

// "LCID", the chosen language. As ReadAppRegValue, except that 2052 is returned when the key cannot
// be opened for another reason than its absence or cannot be created.
int ReadLanguageSetting();
bool WriteLanguageSetting(int lcid);

// "DeviceType", the model shown. The read does not create the key; 0 when it cannot be opened.
int ReadDeviceTypeSetting();
bool WriteDeviceTypeSetting(int type);
