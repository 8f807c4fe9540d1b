// The settings commands on the wire: report rate, DPI stages and colours, lift-off and sensor
// options, power options, with their failure traces and failure handling.

#include <initializer_list>

#include "device/protocol/CommandCodes.h"
#include "device/protocol/ProtocolFixture.h"

namespace {

using Bytes = TinyMouse::Bytes;

// A request as it must be written: `head` from byte 0, zeros, the checksum at byte 32.
Bytes Report(std::size_t length, std::initializer_list<std::uint8_t> head) {
    Bytes report(length, 0);
    std::copy(head.begin(), head.end(), report.begin());
    unsigned sum = 0;
    for (std::size_t i = 5; i < 32; ++i) {
        sum += report[i];
    }
    report[32] = static_cast<std::uint8_t>(sum);
    return report;
}

TEST_F(ProtocolTest, ReportRateOf1000HzIsOneByte) {
    SetKey(u"report_rate", 1);
    SetKey(u"report_rate_wireless", 8);  // never sent
    EXPECT_TRUE(protocol.SendReportRate());
    const Bytes expected = Report(65, {0x00, 0x02, 0x00, 0x01, 0x01, 0x01});
    EXPECT_EQ(mouse.writes, std::vector<Bytes>{expected});
    EXPECT_EQ(expected[32], 0x01);
}

TEST_F(ProtocolTest, DpiStagesAreClampedEncodedAndWrittenTwice) {
    state.SetSensor(5);
    SetKey(u"dpi_index", 2);
    SetKey(u"dpi_count", 6);
    const int stages[] = {30, 800, 6400, 6500, 12000, 30000};
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(store.SetConfigValue(profile, Format(u"dpi_group%d_value", i),
                                         Format(u"%d", stages[i])));
    }
    EXPECT_TRUE(protocol.SendDpiStages());
    // 30 is raised to 50 (1), 30000 lowered to 12000 (184 = B8).
    const Bytes expected = Report(33, {0x00, 0x03, 0x00, 0x01, 0x25, 0x26,  //
                                       1,    0,    1,    0,                 // 50
                                       16,   0,    16,   0,                 // 800
                                       128,  0,    128,  0,                 // 6400
                                       129,  0,    129,  0,                 // 6500
                                       0xB8, 0,    0xB8, 0,                 // 12000
                                       0xB8, 0,    0xB8, 0});
    EXPECT_EQ(mouse.writes, std::vector<Bytes>{expected});
}

TEST_F(ProtocolTest, DpiStagesOfAnUnknownSensorAndLargeValues) {
    state.SetSensor(0);
    SetKey(u"dpi_index", 15);
    SetKey(u"dpi_count", 0x1F);  // kept to 8 bits with the index
    SetKey(u"dpi_group0_value", 800);
    SetKey(u"dpi_group1_value", 26000);
    EXPECT_TRUE(protocol.SendDpiStages());
    ASSERT_EQ(mouse.writes.size(), 1u);
    const Bytes& sent = mouse.writes[0];
    EXPECT_EQ(sent[5], 0xFF);
    EXPECT_EQ(Bytes(sent.begin() + 6, sent.begin() + 14),
              (Bytes{15, 0, 15, 0, 0x07, 0x02, 0x07, 0x02}));  // 800 -> 15, 26000 -> 519
}

TEST_F(ProtocolTest, DpiColorsAreRedGreenBlue) {
    const int colors[] = {0x0000FF, 0xFF0000, 0x00FF00, 0x123456, 0, 0xFFFFFF};
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(
            store.SetConfigValue(profile, Format(u"dpi_group%d_rgb", i), Format(u"%d", colors[i])));
    }
    EXPECT_TRUE(protocol.SendDpiColors());
    const Bytes expected = Report(65, {0x00, 0x04, 0x00, 0x01, 18,  //
                                       0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00,
                                       0x56, 0x34, 0x12, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(mouse.writes, std::vector<Bytes>{expected});
}

TEST_F(ProtocolTest, LiftoffAndSensorOptionsFromTheFlagBits) {
    struct Case {
        int height;
        int flag;
        std::uint8_t bit3;
        std::uint8_t bit2;
    };
    for (const Case& c :
         {Case{1, 53, 0, 1}, Case{2, 8, 1, 0}, Case{1, 12, 1, 1}, Case{2, 3, 0, 0}}) {
        mouse.writes.clear();
        SetKey(u"liftoff_height", c.height);
        SetKey(u"sensor_flag", c.flag);
        EXPECT_TRUE(protocol.SendLiftoffSensor());
        const Bytes expected = Report(65, {0x00, 0x06, 0x00, 0x01, 0x05,
                                           static_cast<std::uint8_t>(c.height), c.bit3, c.bit2});
        EXPECT_EQ(mouse.writes, std::vector<Bytes>{expected}) << "sensor_flag " << c.flag;
    }
}

TEST_F(ProtocolTest, PowerOptionsAreFourLowBytes) {
    SetKey(u"sleep_light", 6);
    SetKey(u"move_wakeup", 1);
    SetKey(u"move_closelight", 0);
    SetKey(u"button_respondtime", 260);  // the low byte goes
    EXPECT_TRUE(protocol.SendPowerOptions());
    EXPECT_EQ(mouse.writes,
              std::vector<Bytes>{Report(65, {0x00, 0x07, 0x00, 0x01, 0x04, 6, 1, 0, 4})});
}

TEST_F(ProtocolTest, UnacknowledgedWritesAreTracedAndHandedToTheWorker) {
    struct Case {
        std::uint8_t command;
        bool (CommandProtocol::*send)();
        const char* trace;  // nullptr: the command has no failure trace
    };
    const Case cases[] = {
        {kCommandReportRate, &CommandProtocol::SendReportRate, "0x02: 设置回报率失败"},
        {kCommandDpiStages, &CommandProtocol::SendDpiStages, nullptr},
        {kCommandDpiColors, &CommandProtocol::SendDpiColors, "0x04: 设置鼠标DPI颜色数据失败"},
        {kCommandLiftoffSensor, &CommandProtocol::SendLiftoffSensor, nullptr},
        {kCommandPowerOptions, &CommandProtocol::SendPowerOptions,
         "0x07: 设置睡眠时间、移动关闭灯效使能"},
        {kCommandButtonTable, &CommandProtocol::SendButtonTable, "0x09: 设置按键功能失败"},
    };
    for (const Case& c : cases) {
        mouse.refused = {c.command};
        traces.clear();
        failure.failures = 0;
        EXPECT_FALSE((protocol.*c.send)()) << int{c.command};
        EXPECT_EQ(failure.failures, 1) << int{c.command};
        EXPECT_EQ(traces, c.trace ? std::vector<std::string>{c.trace} : std::vector<std::string>{})
            << int{c.command};
    }
}

TEST_F(ProtocolTest, WithoutASelectedDeviceEveryWriteFails) {
    manager.SetCurrentDeviceType(kDeviceType + 1);
    EXPECT_FALSE(protocol.SendReportRate());
    EXPECT_FALSE(protocol.SendDpiStages());
    EXPECT_EQ(failure.failures, 2);
    EXPECT_TRUE(mouse.writes.empty());
}

TEST_F(ProtocolTest, ResetsSendTheirFixedRequestsAndIgnoreFailures) {
    EXPECT_TRUE(protocol.FactoryReset());
    EXPECT_EQ(mouse.writes, std::vector<Bytes>{Report(33, {0x00, 0x0F, 0x00, 0x01, 0x01, 0xFF})});

    mouse.refused = {kCommandFactoryReset, kCommandResetLighting};
    EXPECT_FALSE(protocol.FactoryReset());
    EXPECT_FALSE(protocol.ResetLighting());
    EXPECT_EQ(failure.failures, 0);
    EXPECT_TRUE(traces.empty());
}

}  // namespace
