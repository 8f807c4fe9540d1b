#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliView.h"
#include "device/transport/DeviceManager.h"
#include "store/StoreRecords.h"

class CliSession;
class SettingsStore;
struct DeviceEntry;

// What the listing commands of kestrelctl (list, info, profiles, get, macros) gather, taken
// apart from how it is printed: as the plain records of CliOutput.h or as the JSON documents of
// CliJson.h, so that both always show the same facts.

// A mouse found, with its entry of the device list when it has one.
struct ListedMouse {
    OpenedDeviceSummary device;
    std::optional<CliView::ListedDevice> listed;
};

// list: the models of config.xml and the mice found.
struct CliListing {
    std::vector<const DeviceEntry*> models;  // the session's catalogue's entries
    std::vector<ListedMouse> mice;
};

// info: the current mouse. A value not known is negative, or empty for texts.
struct CliMouseInfo {
    const DeviceEntry* model = nullptr;  // null when the catalogue has no such model
    int mode = -1;
    std::string deviceId;
    int sensor = 0;
    std::array<int, 2> dpiRange{};  // lowest, highest
    int reportRateCapability = -1;
    std::array<int, 2> battery{-1, -1};  // level, state
    int releaseNumber = -1;
    std::string mouseFirmware;
    int profile = 0;
};

// get: one configuration key of the active profile with its stored text.
struct ConfigEntry {
    std::string key;
    std::string value;
    bool holdsNumber = false;  // every key but the profile's version text
};

// macros: a stored macro with its number of events.
struct ListedMacro {
    MacroRecord macro;
    int eventCount = 0;
};

CliListing CollectListing(CliSession& session);
CliMouseInfo CollectMouseInfo(CliSession& session);
// The keys of the active profile in the order of the defaults; only `onlyKey` unless it is empty.
std::vector<ConfigEntry> CollectConfig(CliSession& session, std::string_view onlyKey);
std::vector<ListedMacro> CollectMacros(SettingsStore& store);

// Whether `key` is a configuration key of the defaults.
bool IsConfigKey(std::string_view key);
// Whether `key` holds a number: every key but the profile's version text, whose defaults are all
// plain decimals.
bool ConfigKeyHoldsNumber(std::string_view key);
