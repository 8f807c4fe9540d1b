#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "device/protocol/ReportRate.h"
#include "device/protocol/SensorInfo.h"
#include "store/ConfigKeys.h"
#include "store/DefaultConfig.h"
#include "store/SettingsStore.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "text/Utf.h"

// What one profile holds of what a mouse's replies can change: configuration keys and the
// lighting rows. The fuzz target reads it before and after each step and checks only what the
// step changed, so a finding names the step that stored it.
struct StoredSettings {
    std::map<std::u16string, std::u16string> keys;
    std::vector<LightModeRecord> lightModes;

    // Every configuration key of the profile.
    static StoredSettings ReadAll(SettingsStore& store, int profile) {
        std::vector<std::u16string> keys;
        for (const ConfigKeyDefault& entry : DefaultConfigKeys()) {
            keys.emplace_back(entry.key);
        }
        return Read(store, profile, keys);
    }

    // The keys the read-back and the worker's notification handling write, which are the ones
    // checked.
    static StoredSettings ReadChecked(SettingsStore& store, int profile) {
        static const std::vector<std::u16string> keys = [] {
            std::vector<std::u16string> list{
                u"report_rate",       u"report_rate_wireless", u"dpi_flag",    u"dpi_count",
                u"dpi_index",         u"liftoff_height",       u"sensor_flag", u"sleep_light",
                u"button_respondtime"};
            for (int stage = 0; stage < kDpiStagesInFiles; ++stage) {
                list.push_back(DpiValueKey(stage));
                list.push_back(DpiColorKey(stage));
            }
            return list;
        }();
        return Read(store, profile, keys);
    }

private:
    static StoredSettings Read(SettingsStore& store, int profile,
                               const std::vector<std::u16string>& keys) {
        StoredSettings settings;
        for (const std::u16string& key : keys) {
            store.GetConfigValue(profile, key, settings.keys[key]);
        }
        store.ListLightModes(profile, settings.lightModes);
        return settings;
    }
};

// One stored value outside the range the program works with. `fatal` findings stop the run;
// the others are the pages' narrower ranges, which only get reported.
struct StoredViolation {
    std::string what;
    bool fatal = true;
};

// The ranges, gathered from the code that reads the values again:
//   dpi_count and dpi_flag   1 to 6, the stages descriptors and profile files carry
//   dpi_index                0 to dpi_count - 1 (the DPI page moves a larger index back)
//   report_rate(_wireless)   a code ReportRates() knows
//   dpi_group0..5_value      the range of the mouse's sensor (what every send clamps to)
//   lighting                 exactly one active row per profile
// and, reported only, the pages' ranges: liftoff_height 1 or 2, button_respondtime 0 to 20
// (the performance page's debounce limit), brightness and speed 0 to 4 (the lighting sliders).
class StoredSettingsCheck {
public:
    static constexpr int kDebounceMax = 20;
    static constexpr int kLightSliderMax = 4;

    static std::vector<StoredViolation> Changes(const StoredSettings& before,
                                                const StoredSettings& after, int sensorId) {
        std::vector<StoredViolation> found;
        auto changed = [&](const std::u16string& key) {
            const auto was = before.keys.find(key);
            const auto is = after.keys.find(key);
            return was == before.keys.end() || is == after.keys.end() || was->second != is->second;
        };
        auto value = [&](const std::u16string& key) {
            const auto is = after.keys.find(key);
            return is == after.keys.end() ? std::u16string() : is->second;
        };
        // A number must be stored as the program writes numbers: plain "%d" text.
        auto number = [&](const std::u16string& key, int& out) {
            const std::u16string text = value(key);
            out = DecimalToInt(text);
            return Format(u"%d", out) == text;
        };
        auto inRange = [&](const std::u16string& key, int lowest, int highest, bool fatal) {
            int n = 0;
            if (changed(key) && (!number(key, n) || n < lowest || n > highest)) {
                found.push_back({ToUtf8(key) + " = \"" + ToUtf8(value(key)) + "\", outside " +
                                     std::to_string(lowest) + ".." + std::to_string(highest),
                                 fatal});
            }
        };

        inRange(u"dpi_count", 1, kDpiStagesInFiles, true);
        inRange(u"dpi_flag", 1, kDpiStagesInFiles, true);
        inRange(u"dpi_index", 0, kDpiStagesInFiles - 1, true);
        int count = 0;
        int index = 0;
        if ((changed(u"dpi_count") || changed(u"dpi_index")) && number(u"dpi_count", count) &&
            number(u"dpi_index", index) && count >= 1 && index >= count) {
            found.push_back({"dpi_index " + std::to_string(index) + " not below dpi_count " +
                                 std::to_string(count),
                             true});
        }
        for (const char16_t* key : {u"report_rate", u"report_rate_wireless"}) {
            int code = 0;
            if (changed(key) && (!number(key, code) || ReportRateHertz(code) == 0)) {
                found.push_back(
                    {ToUtf8(key) + " = \"" + ToUtf8(value(key)) + "\", not a report rate code",
                     true});
            }
        }
        const SensorInfo sensor = SensorFor(sensorId);
        for (int stage = 0; stage < kDpiStagesInFiles; ++stage) {
            inRange(DpiValueKey(stage), sensor.lowest, sensor.highest, true);
        }
        inRange(u"liftoff_height", 1, 2, false);
        inRange(u"button_respondtime", 0, kDebounceMax, false);

        if (before.lightModes != after.lightModes && !after.lightModes.empty()) {
            int active = 0;
            for (const LightModeRecord& row : after.lightModes) {
                active += row.status == 1 ? 1 : 0;
                if (row.brightness < 0 || row.brightness > kLightSliderMax || row.speed < 0 ||
                    row.speed > kLightSliderMax) {
                    found.push_back({"light mode " + std::to_string(row.mode) + ": brightness " +
                                         std::to_string(row.brightness) + ", speed " +
                                         std::to_string(row.speed) + ", outside 0..4",
                                     false});
                }
            }
            if (active != 1) {
                found.push_back(
                    {std::to_string(active) + " active light modes instead of one", true});
            }
        }
        return found;
    }
};
