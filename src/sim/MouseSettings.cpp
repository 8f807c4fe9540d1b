#include "sim/MouseSettings.h"

#include <cstdio>

#include "sim/MacroAssembler.h"
#include "sim/SensorTable.h"

namespace sim {

namespace {

// Stage values every sensor offers (the narrowest range is 200 to 4800).
constexpr std::array<int, kDpiStageCount> kFactoryDpi{400, 800, 1600, 2400, 3200, 4800};
constexpr std::array<std::uint32_t, kDpiStageCount> kFactoryDpiColours{
    0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFF00, 0xFF00FF};
// Left, right, middle, back, forward, DPI cycle; the other buttons unassigned.
constexpr std::array<std::uint8_t, kButtonTableSize> kFactoryButtons{
    0x10, 0x01, 0x00, 0x10, 0x02, 0x00, 0x10, 0x04, 0x00, 0x10, 0x08, 0x00, 0x10, 0x10,
    0x00, 0x40, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

}  // namespace

MouseSettings MouseSettings::Factory(int sensorId) {
    MouseSettings settings;
    settings.reportRate = 0x01;
    settings.dpi.selected = 1;
    settings.dpi.count = kDpiStageCount;
    for (int i = 0; i < kDpiStageCount; ++i) {
        const std::uint16_t value = SensorTable::Encode(sensorId, kFactoryDpi[i]);
        settings.dpi.encoded[i] = value;
        settings.dpi.encodedSecond[i] = value;
        settings.dpi.dpi[i] = SensorTable::Decode(sensorId, value);
    }
    settings.dpiColours = kFactoryDpiColours;
    settings.lighting = FactoryLighting();
    settings.liftoffHeight = 1;
    settings.sleepTime = 12;
    settings.moveWakeup = 1;
    settings.moveCloseLight = 0;
    settings.debounce = 4;
    settings.buttonTable = kFactoryButtons;
    return settings;
}

LightingState MouseSettings::FactoryLighting() {
    LightingState lighting;
    lighting.mode = 1;
    lighting.brightness = 3;
    lighting.speed = 2;
    return lighting;
}

std::string DescribeSettings(const MouseSettings& settings) {
    std::string text = "rate=" + std::to_string(settings.reportRate) +
                       " stages=" + std::to_string(settings.dpi.count) +
                       " stage=" + std::to_string(settings.dpi.selected) + " dpi=";
    for (int i = 0; i < kDpiStageCount; ++i) {
        text += (i > 0 ? "," : "") + std::to_string(settings.dpi.dpi[static_cast<std::size_t>(i)]);
    }
    text += " colours=";
    for (int i = 0; i < kDpiStageCount; ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%06X",
                      static_cast<unsigned>(settings.dpiColours[static_cast<std::size_t>(i)]));
        text += (i > 0 ? "," : "") + std::string(hex);
    }
    text += " liftoff=" + std::to_string(settings.liftoffHeight) +
            " sensor=" + std::to_string(settings.sensorOption1) + "," +
            std::to_string(settings.sensorOption2) +
            " sleep=" + std::to_string(settings.sleepTime) +
            " wake=" + std::to_string(settings.moveWakeup) +
            " lightoff=" + std::to_string(settings.moveCloseLight) +
            " debounce=" + std::to_string(settings.debounce) +
            " light=" + std::to_string(settings.lighting.mode) + "," +
            std::to_string(settings.lighting.brightness) + "," +
            std::to_string(settings.lighting.speed);
    text += " keys=";
    for (std::uint8_t byte : settings.buttonTable) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(byte));
        text += hex;
    }
    text += " macros=";
    bool first = true;
    for (const auto& [button, blob] : settings.macros) {
        text += (first ? "" : ",") + std::to_string(button) + ":" +
                std::to_string(DecodeMacroEvents(blob).size());
        first = false;
    }
    return text;
}

}  // namespace sim
