// The HID traffic log: its line format and the lines the device manager's exchanges give.

#include "device/transport/HidTrafficLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/transport/DeviceManager.h"
#include "device/transport/ScriptedHid.h"

namespace {

TEST(HidTrafficLog, LineFormat) {
    const std::uint8_t bytes[] = {0x00, 0x10, 0xAB, 0x0F, 0xFF};
    EXPECT_EQ(FormatHidTraffic('W', bytes, 5), "W 5 00 10 AB 0F FF");
    EXPECT_EQ(FormatHidTraffic('R', bytes + 2, 1), "R 1 AB");
    EXPECT_EQ(FormatHidTraffic('R', bytes, 0), "R 0");
}

std::string Hex(const Bytes& bytes) {
    std::string text;
    for (std::uint8_t byte : bytes) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        text += ' ';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

TEST(HidTrafficLog, EveryWriteAndEveryReadWithDataOfTheManager) {
    ScriptedHid hid;
    DeviceManager manager(hid);
    manager.SetSleepFunction([&hid](int ms) { hid.Sleep(ms); });
    ScriptedDevice& mouse = hid.Add("wired", 0x3E7A, 0x0C02);
    mouse.answer = [](const Bytes& written) -> std::vector<Bytes> {
        if (written[1] == 0x10) {
            return {Reply(0x01, {}, 4), Reply(0x00, {'K', '2', 'A', '1'}, 8)};
        }
        return {};
    };

    std::vector<std::string> lines;
    SetHidTrafficSink([&lines](const std::string& line) { lines.push_back(line); });
    manager.Rescan({{0x3E7A, 0x0C02, u"", 1002, 0, u"K2A1"}});
    manager.SetCurrentDeviceType(1002);
    std::uint8_t buffer[65] = {0, 0x02, 0, 0x01, 0x01, 0x08};
    manager.SendCommand(buffer, 65);  // never acknowledged: 50 empty reads, no lines
    SetHidTrafficSink(nullptr);
    manager.SendCommand(buffer, 33);  // not logged any more

    Bytes query(33, 0);
    query[1] = 0x10;
    Bytes command(buffer, buffer + 65);
    const std::vector<std::string> expected{
        "W 33" + Hex(query),
        "R 4 00 01 00 00",
        "R 8 00 00 00 00 4B 32 41 31",
        "W 65" + Hex(command),
    };
    EXPECT_EQ(lines, expected);
}

}  // namespace
