#pragma once

#include <string>
#include <vector>

#include "cli/CliRecords.h"

// The JSON documents kestrelctl --json prints instead of the plain records: one document per
// command, on one line, keys in lower case with underscores and in a fixed order. Numbers are
// JSON numbers, texts JSON strings (UTF-8; a byte sequence that is not UTF-8 becomes U+FFFD),
// a value not known is null. Firmware release numbers stay texts of four hexadecimal digits
// ("0103"), the way versions are shown everywhere else.
//
//   list      {"models":[{"device_type","device_attr","name"}],
//              "mice":[{"device_type","mode","device_id","firmware","link","battery_level",
//                       "battery_state"}]}
//   info      {"model":{"device_type","device_attr","name"}|null,"mode","device_id","sensor",
//              "dpi_min","dpi_max","report_rate_capability","battery_level","battery_state",
//              "firmware","mouse_firmware","profile"}
//   profiles  {"profiles":[{"profile","active","name"}]}
//   get       {"<key>":<value>,...}: a number for the keys that hold one, else a string
//   macros    {"macros":[{"id","event_count","name"}]}

std::string ListingJson(const CliListing& listing);
std::string MouseInfoJson(const CliMouseInfo& info);
std::string ProfilesJson(const std::vector<ProfileRecord>& profiles);
std::string ConfigJson(const std::vector<ConfigEntry>& entries);
std::string MacrosJson(const std::vector<ListedMacro>& macros);
