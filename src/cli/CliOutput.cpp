#include "cli/CliOutput.h"

#include "device/catalogue/DeviceEntry.h"
#include "device/transport/DeviceManager.h"
#include "store/StoreRecords.h"
#include "text/Format.h"
#include "text/Utf.h"

std::string ModelRecordLine(const DeviceEntry& model) {
    return ToUtf8(Format(u"model %d %s %s", model.deviceType, model.deviceAttr, model.name));
}

std::string MouseRecordLine(const OpenedDeviceSummary& device,
                            const CliView::ListedDevice* listed) {
    const std::u16string id = device.deviceId.empty() ? u"-" : device.deviceId;
    const std::string battery =
        listed != nullptr ? BatteryText(listed->batteryLevel, listed->batteryState) : "-";
    return ToUtf8(Format(
        u"mouse %d mode=%d id=%s firmware=%s link=%d battery=%s", device.deviceType, device.mode,
        id, FromUtf8(ReleaseText(device.releaseNumber)), device.linkState, FromUtf8(battery)));
}

std::string ProfileRecordLine(const ProfileRecord& profile) {
    return ToUtf8(
        Format(u"%d %s %s", profile.profile, profile.status == 1 ? u"*" : u"-", profile.name));
}

std::string MacroRecordLine(const MacroRecord& macro, int eventCount) {
    return ToUtf8(Format(u"%d %d %s", macro.macro_id, eventCount, macro.name));
}

std::string ImportedMacroLine(int id, std::u16string_view name) {
    return ToUtf8(Format(u"%d %s", id, name));
}

std::string VersionCheckLine(std::string_view what, std::u16string_view current,
                             std::u16string_view latest, std::string_view state) {
    const auto shown = [](std::u16string_view version) {
        return version.empty() ? std::string("unknown") : ToUtf8(version);
    };
    return std::string(what) + " current " + shown(current) + " latest " + shown(latest) + " " +
           std::string(state);
}

std::string KeyValueLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line += ' ';
    line += value;
    return line;
}

std::string ReleaseText(int releaseNumber) {
    if (releaseNumber < 0) {
        return "-";
    }
    return ToUtf8(Format(u"%04X", releaseNumber));
}

std::string BatteryText(int level, int state) {
    if (level < 0) {
        return "-";
    }
    return ToUtf8(Format(u"%d:%d", level, state));
}
