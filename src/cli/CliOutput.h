#pragma once

#include <string>
#include <string_view>

#include "cli/CliView.h"

struct DeviceEntry;
struct MacroRecord;
struct OpenedDeviceSummary;
struct ProfileRecord;

// The records kestrelctl prints, one a line, fields separated by single spaces; a free text (a
// name) comes last so that it may hold spaces. Numbers are decimal except firmware release
// numbers, which are four upper-case hexadecimal digits. A value not known is "-".

// "model <device type> <device_attr> <name>"
std::string ModelRecordLine(const DeviceEntry& model);
// "mouse <device type> mode=<0|1> id=<device id> firmware=<release> link=<state>
//  battery=<level>:<state>"
std::string MouseRecordLine(const OpenedDeviceSummary& device, const CliView::ListedDevice* listed);
// "<n> * <name>" for the active profile, "<n> - <name>" for the others.
std::string ProfileRecordLine(const ProfileRecord& profile);
// "<id> <event count> <name>" for a stored macro.
std::string MacroRecordLine(const MacroRecord& macro, int eventCount);
// "<id> <name>" for a macro an import added, with the name the file gave it.
std::string ImportedMacroLine(int id, std::u16string_view name);
// "<software|firmware> current <version> latest <version> <newer|up-to-date|unknown>": what
// update-check found, each version "unknown" when it could not be had (empty).
std::string VersionCheckLine(std::string_view what, std::u16string_view current,
                             std::u16string_view latest, std::string_view state);
// "<key> <value>"
std::string KeyValueLine(std::string_view key, std::string_view value);
// A release number as four upper-case hexadecimal digits; "-" when negative (not reported).
std::string ReleaseText(int releaseNumber);
// "<level>:<state>", or "-" when the level is negative (not reported).
std::string BatteryText(int level, int state);
