#include "cli/CliJson.h"

#include <nlohmann/json.hpp>

#include "cli/CliCommands.h"
#include "cli/CliOutput.h"
#include "device/catalogue/DeviceEntry.h"
#include "text/Utf.h"

namespace {

// Keeps the keys in the order they are set, which is the order of the plain records.
using Json = nlohmann::ordered_json;

Json Text(std::u16string_view text) {
    return ToUtf8(text);
}

// A text that is empty when not known.
Json KnownText(const std::string& text) {
    return text.empty() ? Json(nullptr) : Json(text);
}

// A number that is negative when not known.
Json KnownNumber(int value) {
    return value < 0 ? Json(nullptr) : Json(value);
}

Json Release(int releaseNumber) {
    return releaseNumber < 0 ? Json(nullptr) : Json(ReleaseText(releaseNumber));
}

Json Model(const DeviceEntry& model) {
    return Json{{"device_type", model.deviceType},
                {"device_attr", Text(model.deviceAttr)},
                {"name", Text(model.name)}};
}

// Stored names are not checked for being valid UTF-16: a lone surrogate would make text the JSON
// writer refuses, so it is replaced rather than allowed to end the command.
std::string Dump(const Json& document) {
    return document.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

std::string ListingJson(const CliListing& listing) {
    Json models = Json::array();
    for (const DeviceEntry* model : listing.models) {
        models.push_back(Model(*model));
    }
    Json mice = Json::array();
    for (const ListedMouse& mouse : listing.mice) {
        const int level = mouse.listed ? mouse.listed->batteryLevel : -1;
        const int state = mouse.listed && level >= 0 ? mouse.listed->batteryState : -1;
        mice.push_back(Json{{"device_type", mouse.device.deviceType},
                            {"mode", mouse.device.mode},
                            {"device_id", KnownText(ToUtf8(mouse.device.deviceId))},
                            {"firmware", Release(mouse.device.releaseNumber)},
                            {"link", mouse.device.linkState},
                            {"battery_level", KnownNumber(level)},
                            {"battery_state", KnownNumber(state)}});
    }
    return Dump(Json{{"models", std::move(models)}, {"mice", std::move(mice)}});
}

std::string MouseInfoJson(const CliMouseInfo& info) {
    const int level = info.battery[0];
    const int state = level >= 0 ? info.battery[1] : -1;
    return Dump(Json{{"model", info.model != nullptr ? Model(*info.model) : Json(nullptr)},
                     {"mode", info.mode},
                     {"device_id", KnownText(info.deviceId)},
                     {"sensor", info.sensor},
                     {"dpi_min", info.dpiRange[0]},
                     {"dpi_max", info.dpiRange[1]},
                     {"report_rate_capability", KnownNumber(info.reportRateCapability)},
                     {"battery_level", KnownNumber(level)},
                     {"battery_state", KnownNumber(state)},
                     {"firmware", Release(info.releaseNumber)},
                     {"mouse_firmware", KnownText(info.mouseFirmware)},
                     {"profile", info.profile}});
}

std::string ProfilesJson(const std::vector<ProfileRecord>& profiles) {
    Json list = Json::array();
    for (const ProfileRecord& profile : profiles) {
        list.push_back(Json{{"profile", profile.profile},
                            {"active", profile.status == 1},
                            {"name", Text(profile.name)}});
    }
    return Dump(Json{{"profiles", std::move(list)}});
}

std::string ConfigJson(const std::vector<ConfigEntry>& entries) {
    Json document = Json::object();
    for (const ConfigEntry& entry : entries) {
        int number = 0;
        if (entry.value.empty()) {
            document[entry.key] = nullptr;
        } else if (entry.holdsNumber && ParseCliNumber(entry.value, number)) {
            document[entry.key] = number;
        } else {
            // Also a number-holding key whose stored text is no number: shown as it is stored.
            document[entry.key] = entry.value;
        }
    }
    return Dump(document);
}

std::string MacrosJson(const std::vector<ListedMacro>& macros) {
    Json list = Json::array();
    for (const ListedMacro& macro : macros) {
        list.push_back(Json{{"id", macro.macro.macro_id},
                            {"event_count", macro.eventCount},
                            {"name", Text(macro.macro.name)}});
    }
    return Dump(Json{{"macros", std::move(list)}});
}
