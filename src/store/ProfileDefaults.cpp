#include "store/ProfileDefaults.h"

#include "store/ConfigKeys.h"
#include "store/SettingsStore.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "xml/XmlDocument.h"

namespace {

// Options whose element, after report_rate, carries its default in "value" under the key of the
// same name.
constexpr const char16_t* kValueOptions[] = {u"sleep_light", u"move_wakeup", u"move_closelight"};

// The lighting mode of each zone light_1 ... light_6. `reserved` is the language text id of the
// mode's display name; `name` is only stored.
struct LightModeDefault {
    const char16_t* name;
    int mode;
    int configFunc;
    int reserved;
};
constexpr LightModeDefault kLightModes[] = {
    {u"流光", 1, 3, 280}, {u"呼吸", 2, 2067, 281},  {u"常亮", 3, 17, 282},
    {u"霓虹", 4, 3, 283}, {u"七彩波浪", 5, 3, 284}, {u"关闭", 0, 0, 285},
};
static_assert(std::size(kLightModes) == std::tuple_size_v<std::array<bool, 6>>);

void ApplyDpiInfo(SettingsStore& store, int profile, XmlDocument& descriptor) {
    store.SetConfigValue(profile, u"dpi_index", descriptor.GetAttribute(u"default_dpi"));
    const std::u16string count = descriptor.GetAttribute(u"dpi_count");
    store.SetConfigValue(profile, u"dpi_flag", count);
    store.SetConfigValue(profile, u"dpi_count", count);
    if (!descriptor.EnterElement()) {
        return;
    }
    for (int stage = 0; stage < kDpiStagesInFiles; ++stage) {
        if (descriptor.FindElement(Format(u"dpi_%d", stage + 1))) {
            store.SetConfigValue(profile, DpiValueKey(stage), descriptor.GetAttribute(u"value"));
            const int color = ColorFromHexText(descriptor.GetAttribute(u"color"));
            store.SetConfigValue(profile, DpiColorKey(stage), Format(u"%d", color));
        }
    }
    descriptor.LeaveElement();
}

}  // namespace

int ColorFromHexText(std::u16string_view text) {
    if (text.empty()) {
        return 0;
    }
    text.remove_prefix(1);
    int color = 0;
    for (int shift = 0; shift < 24 && !text.empty(); shift += 8) {
        const std::u16string_view digits = text.substr(0, 2);
        color += static_cast<int>(HexToUInt(digits)) << shift;
        text.remove_prefix(digits.size());
    }
    return color;
}

bool ReadDescriptorReportRate(const std::u16string& descriptorPath, std::u16string& rate) {
    XmlDocument descriptor;
    if (!descriptor.LoadFile(descriptorPath) || !descriptor.FindElement(u"mouse") ||
        !descriptor.EnterElement() || !descriptor.FindElement(u"mouse_info") ||
        !descriptor.EnterElement() || !descriptor.FindElement(u"report_rate")) {
        return false;
    }
    rate = descriptor.GetAttribute(u"default_value");
    return true;
}

bool ApplyDescriptorDefaults(SettingsStore& store, int profile,
                             const std::u16string& descriptorPath, bool dpiOnly,
                             int* reportRateCapability) {
    XmlDocument descriptor;
    if (!descriptor.LoadFile(descriptorPath) || !descriptor.FindElement(u"mouse") ||
        !descriptor.EnterElement() || !descriptor.FindElement(u"mouse_info") ||
        !descriptor.EnterElement()) {
        return false;
    }
    // Each search goes on after the last element found.
    if (descriptor.FindElement(u"dpi_info")) {
        ApplyDpiInfo(store, profile, descriptor);
    }
    if (dpiOnly) {
        return true;
    }
    if (descriptor.FindElement(u"report_rate")) {
        const std::u16string rate = descriptor.GetAttribute(u"default_value");
        store.SetConfigValue(profile, u"report_rate", rate);
        if (reportRateCapability != nullptr) {
            *reportRateCapability = DecimalToInt(rate);
        }
    }
    for (const char16_t* option : kValueOptions) {
        if (descriptor.FindElement(option)) {
            store.SetConfigValue(profile, option, descriptor.GetAttribute(u"value"));
        }
    }
    return true;
}

void SeedDefaultLightModes(SettingsStore& store, int profile,
                           const std::array<bool, 6>& lightZones) {
    if (store.CountLightModes(profile) >= 1) {
        return;
    }
    LightModeRecord record{.profile = profile,
                           .name = {},
                           .brightness = 4,
                           .speed = 2,
                           .direction = 0,
                           .colorful = 1,
                           .colorindex = 0,
                           .color_value1 = 0x0000FF,
                           .color_value2 = 0x00FF00,
                           .color_value3 = 0xFF0000,
                           .color_value4 = 0xFFFF00,
                           .color_value5 = 0x00FFFF,
                           .color_value6 = 0xFF00FF,
                           .color_value7 = 0xFFFFFF,
                           .status = 0};
    for (std::size_t zone = 0; zone < lightZones.size(); ++zone) {
        if (!lightZones[zone]) {
            continue;
        }
        const LightModeDefault& mode = kLightModes[zone];
        record.name = mode.name;
        record.mode = mode.mode;
        record.config_func = mode.configFunc;
        record.reserved = mode.reserved;
        store.AddLightMode(record);
    }
    store.SetActiveLightMode(profile, 1);
}
