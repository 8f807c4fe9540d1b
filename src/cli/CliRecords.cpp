#include "cli/CliRecords.h"

#include <algorithm>

#include "cli/CliSession.h"
#include "device/catalogue/DeviceEntry.h"
#include "store/DefaultConfig.h"
#include "store/SettingsStore.h"
#include "text/Utf.h"

namespace {

const ConfigKeyDefault* FindConfigDefault(std::string_view key) {
    const std::u16string wanted = FromUtf8(key);
    for (const ConfigKeyDefault& entry : DefaultConfigKeys()) {
        if (entry.key == wanted) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace

CliListing CollectListing(CliSession& session) {
    CliListing listing;
    for (const DeviceEntry& model : session.Catalog().Models()) {
        listing.models.push_back(&model);
    }
    std::vector<OpenedDeviceSummary> opened;
    session.Manager().CollectOpened(opened);
    const auto listed = session.View().Devices();
    for (const OpenedDeviceSummary& device : opened) {
        if (device.deviceType < 1) {
            continue;
        }
        ListedMouse mouse{device, std::nullopt};
        if (const auto found = listed.find(device.deviceType); found != listed.end()) {
            mouse.listed = found->second;
        }
        listing.mice.push_back(std::move(mouse));
    }
    return listing;
}

CliMouseInfo CollectMouseInfo(CliSession& session) {
    DeviceManager& manager = session.Manager();
    const CliView& view = session.View();
    CliMouseInfo info;
    const int deviceType = manager.CurrentDeviceType();
    info.model = session.Catalog().FindModel(deviceType);
    info.mode = manager.ConnectionMode();
    std::vector<OpenedDeviceSummary> opened;
    manager.CollectOpened(opened);
    for (const OpenedDeviceSummary& device : opened) {
        if (device.deviceType == deviceType && device.mode == info.mode &&
            !device.deviceId.empty()) {
            info.deviceId = ToUtf8(device.deviceId);
            break;
        }
    }
    info.sensor = session.State().SensorId();
    info.dpiRange = view.DpiRange();
    info.reportRateCapability = view.ReportRateCapability();
    info.battery = view.Battery();
    manager.ReleaseNumberOfMode(info.mode, info.releaseNumber);
    info.mouseFirmware = ToUtf8(view.MouseFirmware());
    info.profile = session.State().CurrentProfile();
    return info;
}

std::vector<ConfigEntry> CollectConfig(CliSession& session, std::string_view onlyKey) {
    std::vector<ConfigEntry> entries;
    const int profile = session.State().CurrentProfile();
    for (const ConfigKeyDefault& entry : DefaultConfigKeys()) {
        const std::string key = ToUtf8(entry.key);
        if (!onlyKey.empty() && key != onlyKey) {
            continue;
        }
        std::u16string value;
        session.Store().GetConfigValue(profile, std::u16string(entry.key), value);
        entries.push_back(ConfigEntry{key, ToUtf8(value), ConfigKeyHoldsNumber(key)});
    }
    return entries;
}

std::vector<ListedMacro> CollectMacros(SettingsStore& store) {
    std::vector<MacroRecord> macros;
    store.ListMacros(macros);
    std::vector<ListedMacro> listed;
    for (const MacroRecord& macro : macros) {
        std::vector<MacroEventRecord> events;
        store.ListMacroEvents(macro.macro_id, events);
        listed.push_back(ListedMacro{macro, static_cast<int>(events.size())});
    }
    return listed;
}

bool IsConfigKey(std::string_view key) {
    return FindConfigDefault(key) != nullptr;
}

bool ConfigKeyHoldsNumber(std::string_view key) {
    const ConfigKeyDefault* entry = FindConfigDefault(key);
    return entry != nullptr && !entry->value.empty() &&
           std::all_of(entry->value.begin(), entry->value.end(),
                       [](char16_t c) { return c >= u'0' && c <= u'9'; });
}
