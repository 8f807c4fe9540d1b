#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sim {

inline constexpr int kDpiStageCount = 6;
inline constexpr std::size_t kButtonTableSize =
    27;  // entries of key codes 0 to 8, three bytes each

// The DPI stages as the last 0x03 request set them.
struct DpiStages {
    std::uint8_t selected = 0;  // high nibble of the stage byte, as received (may exceed count)
    std::uint8_t count = 0;     // low nibble, 1 to 6
    // The two 16-bit values of each stage as received (the request carries every value twice).
    std::array<std::uint16_t, kDpiStageCount> encoded{};
    std::array<std::uint16_t, kDpiStageCount> encodedSecond{};
    // `encoded` decoded with the mouse's sensor.
    std::array<int, kDpiStageCount> dpi{};

    // The stage the mouse uses: `selected`, or 0 when that is not below `count`.
    int EffectiveStage() const { return selected < count ? selected : 0; }

    bool operator==(const DpiStages&) const = default;
};

struct LightingState {
    std::uint8_t mode = 0;
    std::uint8_t brightness = 0;  // 0 to 15
    std::uint8_t speed = 0;       // 0 to 15
    // Colours of the mode (COLORREF order, red in the low byte): seven for mode 2, one for
    // mode 3, none otherwise.
    std::vector<std::uint32_t> colours;

    bool operator==(const LightingState&) const = default;
};

// Everything the write commands change: the mouse's onboard memory.
struct MouseSettings {
    std::uint8_t reportRate = 0x01;  // report-rate code
    DpiStages dpi;
    std::array<std::uint32_t, kDpiStageCount> dpiColours{};  // COLORREF order
    LightingState lighting;
    std::uint8_t liftoffHeight = 0;
    std::uint8_t sensorOption1 = 0;  // request byte 6 of 0x06 (0 or 1)
    std::uint8_t sensorOption2 = 0;  // request byte 7 of 0x06 (0 or 1)
    std::uint8_t sleepTime = 0;
    std::uint8_t moveWakeup = 0;
    std::uint8_t moveCloseLight = 0;
    std::uint8_t debounce = 0;
    std::array<std::uint8_t, kButtonTableSize> buttonTable{};  // as received
    // Completed macro uploads by button index: the whole blob, button byte first.
    std::map<std::uint8_t, std::vector<std::uint8_t>> macros;

    // What the mouse holds after a factory reset; DPI values encoded for `sensorId`.
    static MouseSettings Factory(int sensorId);
    // The lighting a lighting reset restores.
    static LightingState FactoryLighting();

    bool operator==(const MouseSettings&) const = default;
};

// The settings in one line of name=value words, for scripts and logs:
// "rate=1 stages=6 stage=2 dpi=800,1600,... colours=0000FF,... liftoff=1 sensor=1,0 sleep=6
// wake=1 lightoff=0 debounce=4 light=1,4,2 keys=100100... macros=3:8" (colours as 6 hexadecimal
// digits, COLORREF order; light = mode, brightness, speed; keys = the button table's 27 bytes in
// hexadecimal; macros = button:event count of each stored macro, empty when there are none).
std::string DescribeSettings(const MouseSettings& settings);

}  // namespace sim
