#pragma once

#include <array>
#include <string>
#include <string_view>

class SettingsStore;

// Defaults that come from the loaded model rather than from the fixed key list: the descriptor's
// DPI stages and options, and the lighting rows of a profile.

// A descriptor colour "#RRGGBB" as a COLORREF (red + green * 256 + blue * 65536). The first
// character is skipped; each component takes up to two hexadecimal digits as far as the text
// reaches, a missing one is 0 and a one-digit one is that digit ("#F" is 15, "#FF80" 33023).
int ColorFromHexText(std::u16string_view text);

// Writes the defaults of the descriptor file at `descriptorPath` into `profile`: from mouse_info's
// dpi_info the selected stage ("dpi_index"), the stage count ("dpi_flag", "dpi_count") and each
// dpi_1 ... dpi_6 present (value and colour); unless `dpiOnly`, also report_rate, sleep_light,
// move_wakeup and move_closelight. Attribute texts are stored as they stand, colours as decimal
// text. Elements are searched forward only, so they must stand in that order. When report_rate
// is applied its value is also stored in `*reportRateCapability` (if given). False, with nothing
// written, when the file cannot be loaded or has no mouse / mouse_info element.
bool ApplyDescriptorDefaults(SettingsStore& store, int profile,
                             const std::u16string& descriptorPath, bool dpiOnly,
                             int* reportRateCapability = nullptr);

// The `default_value` of the report_rate element under mouse / mouse_info of the descriptor at
// `descriptorPath`, as written. False when the file cannot be loaded or has no such element.
bool ReadDescriptorReportRate(const std::u16string& descriptorPath, std::u16string& rate);

// Gives `profile` its lighting rows, once: for each lighting zone 1 to 6 the model enables, the
// zone's mode with the default brightness, speed and colours; then mode 1 is made active (also
// when no zone is enabled). Does nothing when the profile already has a lighting row.
void SeedDefaultLightModes(SettingsStore& store, int profile,
                           const std::array<bool, 6>& lightZones);
