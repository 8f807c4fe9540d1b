// Reading the mouse back after a connection: the information reply, the reads and where their
// values go, the once-per-model rule and the unreachable mouse.

#include "device/protocol/CommandCodes.h"
#include "device/protocol/ProtocolFixture.h"

namespace {

using Bytes = TinyMouse::Bytes;

class SyncTest : public ProtocolTest {
protected:
    void SetUp() override {
        ProtocolTest::SetUp();
        mouse.readData[kCommandReadStart] = {};
        mouse.readData[kCommandReadReportRate] = {0x10};
        // Stage byte: index 3, count 5; stages for sensor 17 (from the information reply).
        mouse.readData[kCommandReadDpiStages] = {0x35,               //
                                                 16,   0, 16,   0,   // 800
                                                 201,  0, 201,  0,   // 10100
                                                 221,  0, 221,  0,   // 13000
                                                 232,  0, 232,  0,   // 24000
                                                 0,    0, 0,    0,   // 0: not stored
                                                 0xFF, 0, 0xFF, 0};  // 47000: beyond the sensor
        mouse.readData[kCommandReadDpiColors] = {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00,
                                                 0x00, 0x00, 0xFF, 0x12, 0x34, 0x56,
                                                 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF};
        mouse.readData[kCommandReadLighting] = {2, 0x13};
        mouse.readData[kCommandReadLiftoffSensor] = {2, 1, 1};
        mouse.readData[kCommandReadPowerOptions] = {9, 0, 0, 12};
        mouse.readData[kCommandReadMouseFirmware] = {0x01, 0x07};

        LightModeRecord record;
        record.profile = profile;
        record.mode = 2;
        record.brightness = 4;
        record.speed = 4;
        ASSERT_GT(store.AddLightMode(record), 0);
        record.mode = 1;
        ASSERT_GT(store.AddLightMode(record), 0);
        store.SetActiveLightMode(profile, 1);
    }

    std::vector<std::string> AllStageValues() {
        std::vector<std::string> values;
        for (int i = 0; i < 6; ++i) {
            std::u16string value;
            store.GetConfigValue(profile, Format(u"dpi_group%d_value", i), value);
            values.push_back(ToUtf8(value));
        }
        return values;
    }
};

TEST_F(SyncTest, InformationReplyReachesStateAndPages) {
    EXPECT_TRUE(protocol.SyncFromDevice(false));
    EXPECT_EQ(state.SensorId(), 17);
    EXPECT_EQ(state.Sensor().highest, 24000);
    EXPECT_EQ(state.ReportRateCapability(), 7);
    EXPECT_EQ(state.BatteryState(), 1);
    EXPECT_EQ(state.BatteryLevel(), 80);
    EXPECT_EQ(state.LinkFlag(), 1);
    // First the stored battery with 100, then what the reply says.
    EXPECT_EQ(view.calls, (std::vector<std::string>{
                              "SetBatteryInfo 0 100",
                              "SetDeviceBattery 7 0 100",
                              "SetDpiRange 50 24000 24000 50 232 1",
                              "SetReportRateCapability 7",
                              "SetBatteryInfo 80 1",
                              "SetDeviceBattery 7 1 80",
                          }));
}

TEST_F(SyncTest, ReadsStoreEveryValueIntoTheCurrentProfile) {
    EXPECT_TRUE(protocol.SyncFromDevice(true));
    EXPECT_EQ(mouse.Commands(), (std::vector<int>{0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17}));
    for (const Bytes& read : mouse.writes) {
        EXPECT_EQ(read.size(), 33u);
        EXPECT_EQ(std::count(read.begin(), read.end(), 0), 32) << "only the command byte is set";
    }

    EXPECT_EQ(Key(u"report_rate"), "16");
    EXPECT_EQ(Key(u"report_rate_wireless"), "16");
    EXPECT_EQ(Key(u"dpi_flag"), "5");
    EXPECT_EQ(Key(u"dpi_count"), "5");
    EXPECT_EQ(Key(u"dpi_index"), "3");
    EXPECT_EQ(state.ReportedDpiCount(), 5);
    EXPECT_EQ(state.ReportedDpiIndex(), 3);
    // Stages 5 and 6 keep their seeded values: 0 and 47000 are no DPI this sensor takes.
    EXPECT_EQ(AllStageValues(),
              (std::vector<std::string>{"800", "10100", "13000", "24000", "6400", "26000"}));
    EXPECT_EQ(Key(u"dpi_group0_rgb"), "255");
    EXPECT_EQ(Key(u"dpi_group1_rgb"), "65280");
    EXPECT_EQ(Key(u"dpi_group2_rgb"), "16711680");
    EXPECT_EQ(Key(u"dpi_group3_rgb"), "5649426");  // 0x563412
    EXPECT_EQ(Key(u"dpi_group4_rgb"), "0");
    EXPECT_EQ(Key(u"dpi_group5_rgb"), "16777215");

    EXPECT_EQ(state.CurrentLightMode(), 2);
    EXPECT_EQ(store.GetActiveLightMode(profile), 2);
    LightModeRecord record;
    ASSERT_TRUE(store.GetLightMode(profile, 2, record));
    EXPECT_EQ(record.brightness, 1);
    EXPECT_EQ(record.speed, 3);

    EXPECT_EQ(Key(u"liftoff_height"), "2");
    EXPECT_EQ(Key(u"sensor_flag"), "12");
    EXPECT_EQ(Key(u"sleep_light"), "9");
    EXPECT_EQ(Key(u"button_respondtime"), "12");
    // A wired mouse is not asked for its firmware through a receiver.
    EXPECT_EQ(state.MouseFirmwareVersion(), u"");
}

TEST_F(SyncTest, SensorOptionBitsComeFromTheirOwnBytes) {
    mouse.readData[kCommandReadLiftoffSensor] = {1, 0, 1};
    EXPECT_TRUE(protocol.SyncFromDevice(false));
    EXPECT_EQ(Key(u"liftoff_height"), "1");
    EXPECT_EQ(Key(u"sensor_flag"), "4");
}

TEST_F(SyncTest, EachModelIsReadOnlyOncePerRun) {
    EXPECT_TRUE(protocol.SyncFromDevice(true));
    mouse.writes.clear();
    view.calls.clear();
    SetKey(u"report_rate", 2);

    EXPECT_TRUE(protocol.SyncFromDevice(true));
    EXPECT_TRUE(mouse.writes.empty());
    EXPECT_EQ(Key(u"report_rate"), "2");
    EXPECT_EQ(view.calls.size(), 6u);  // the information reply is still taken

    state.ClearSynchronised();
    EXPECT_TRUE(protocol.SyncFromDevice(true));
    EXPECT_EQ(Key(u"report_rate"), "16");
}

TEST_F(SyncTest, ReadsWithoutAnAnswerAreSkipped) {
    SetKey(u"report_rate", 2);
    mouse.readData.erase(kCommandReadReportRate);
    mouse.readData.erase(kCommandReadLighting);
    mouse.refused = {kCommandReadDpiStages};
    EXPECT_TRUE(protocol.SyncFromDevice(false));
    EXPECT_EQ(mouse.Commands(), (std::vector<int>{0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17}));
    EXPECT_EQ(Key(u"report_rate"), "2");
    EXPECT_EQ(Key(u"dpi_count"), "6");
    EXPECT_EQ(Key(u"dpi_group0_value"), "800");
    EXPECT_EQ(store.GetActiveLightMode(profile), 1);
    EXPECT_EQ(Key(u"dpi_group0_rgb"), "255");
    EXPECT_EQ(Key(u"sleep_light"), "9");
    EXPECT_EQ(failure.failures, 0);
    EXPECT_TRUE(traces.empty());
}

// Replies no mouse of this protocol sends (a garbled or cut-short report) must not reach the
// profile: each case leaves the stored values of the new profile as they were.
TEST_F(SyncTest, ValuesNoMouseHasAreNotStored) {
    struct Case {
        const char* what;
        std::uint8_t command;
        Bytes reply;
    };
    const Case cases[] = {
        {"a rate code no rate has", kCommandReadReportRate, {0x03}},
        {"rate code 0", kCommandReadReportRate, {0x00}},
        {"no stages", kCommandReadDpiStages, {0x00}},
        {"seven stages", kCommandReadDpiStages, {0x17}},
        {"fifteen stages", kCommandReadDpiStages, {0xFF}},
        {"stage index at the count", kCommandReadDpiStages, {0x33}},
        {"a lighting mode without a record", kCommandReadLighting, {9, 0x11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mouse.readData[kCommandReadReportRate] = {0x10};
        mouse.readData[kCommandReadDpiStages] = {0x35};
        mouse.readData[kCommandReadLighting] = {2, 0x13};
        mouse.readData[c.command] = c.reply;
        SetKey(u"report_rate", 2);
        SetKey(u"report_rate_wireless", 1);
        SetKey(u"dpi_count", 6);
        SetKey(u"dpi_flag", 6);
        SetKey(u"dpi_index", 1);
        store.SetActiveLightMode(profile, 1);
        state.SetCurrentLightMode(1);
        state.SetReportedDpiCount(6);
        state.SetReportedDpiIndex(1);
        state.ClearSynchronised();

        EXPECT_TRUE(protocol.SyncFromDevice(false));
        if (c.command == kCommandReadReportRate) {
            EXPECT_EQ(Key(u"report_rate"), "2");
            EXPECT_EQ(Key(u"report_rate_wireless"), "1");
        } else if (c.command == kCommandReadDpiStages) {
            EXPECT_EQ(Key(u"dpi_count"), "6");
            EXPECT_EQ(Key(u"dpi_flag"), "6");
            EXPECT_EQ(Key(u"dpi_index"), "1");
            EXPECT_EQ(state.ReportedDpiCount(), 6);
            EXPECT_EQ(state.ReportedDpiIndex(), 1);
        } else {
            EXPECT_EQ(store.GetActiveLightMode(profile), 1);
            EXPECT_EQ(state.CurrentLightMode(), 1);
        }
    }
}

// A stage the mouse left empty decodes to a DPI below the sensor's lowest for sensors that start
// above 50; it is not stored, while a stage inside the range is.
TEST_F(SyncTest, StagesBelowTheSensorsLowestAreNotStored) {
    mouse.info[10] = 37;  // 200 to 10000 DPI
    Connect(0);
    mouse.readData[kCommandReadDpiStages] = {0x12,           //
                                             0,    0, 0, 0,  // 100: below 200
                                             3,    0, 3, 0,  // 400
                                             0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(protocol.SyncFromDevice(false));
    EXPECT_EQ(Key(u"dpi_group0_value"), "800");
    EXPECT_EQ(Key(u"dpi_group1_value"), "400");
}

TEST_F(SyncTest, UnreachableMouseFailsBeforeAnyRead) {
    mouse.info[14] = 0;
    Connect(1);
    EXPECT_FALSE(protocol.SyncFromDevice(true));
    EXPECT_TRUE(mouse.writes.empty());
    EXPECT_EQ(traces, std::vector<std::string>{"无线设备未连接"});
    EXPECT_EQ(failure.failures, 1);
    EXPECT_FALSE(state.IsSynchronised(kDeviceType));
    // The reply's battery bytes are still shown.
    EXPECT_EQ(view.calls.back(), "SetDeviceBattery 7 1 80");
}

TEST_F(SyncTest, NoSelectedDeviceFailsAsUnreachable) {
    state.SetLinkFlag(1);
    manager.SetCurrentDeviceType(kDeviceType + 1);
    EXPECT_FALSE(protocol.SyncFromDevice(true));
    EXPECT_EQ(state.LinkFlag(), 0);
    EXPECT_EQ(failure.failures, 1);
    EXPECT_EQ(view.calls,
              (std::vector<std::string>{"SetBatteryInfo 0 100", "SetDeviceBattery 8 0 100"}));
}

TEST_F(SyncTest, ThroughTheReceiverAFullReadAsksForTheMouseFirmware) {
    Connect(1);
    EXPECT_TRUE(protocol.SyncFromDevice(true));
    EXPECT_EQ(mouse.Commands().back(), 0x20);
    EXPECT_EQ(state.MouseFirmwareVersion(), u"107");
    EXPECT_EQ(view.calls.back(), "SetMouseFirmwareVersion 107");

    // Not on a partial read (a link report), and not when the mouse does not answer.
    state.ClearSynchronised();
    mouse.writes.clear();
    EXPECT_TRUE(protocol.SyncFromDevice(false));
    EXPECT_EQ(mouse.Commands().back(), 0x17);

    state.ClearSynchronised();
    state.SetMouseFirmwareVersion(u"");
    mouse.readData.erase(kCommandReadMouseFirmware);
    EXPECT_TRUE(protocol.SyncFromDevice(true));
    EXPECT_EQ(state.MouseFirmwareVersion(), u"");
}

TEST_F(SyncTest, FirmwareVersionIsHexWithTwoMinorDigits) {
    Connect(1);
    mouse.readData[kCommandReadMouseFirmware] = {0x1A, 0x0B};
    EXPECT_TRUE(protocol.SyncFromDevice(true));
    EXPECT_EQ(state.MouseFirmwareVersion(), u"1A0B");
}

TEST_F(SyncTest, SensorAndCapabilityOfOtherMice) {
    struct Case {
        std::uint8_t sensor;
        std::uint8_t highestRate;
        const char* range;
        int capability;
    };
    for (const Case& c : {Case{5, 0x10, "SetDpiRange 50 12000 12000 50 184 1", 5},
                          Case{37, 0x20, "SetDpiRange 200 10000 10000 200 59 1", 6},
                          Case{200, 0x01, "SetDpiRange 50 26000 26000 50 520 1", 4}}) {
        mouse.info[10] = c.sensor;
        mouse.info[11] = c.highestRate;
        Connect(0);
        view.calls.clear();
        EXPECT_TRUE(protocol.SyncFromDevice(false));
        EXPECT_EQ(view.calls.at(2), c.range);
        EXPECT_EQ(state.ReportRateCapability(), c.capability);
    }
}

}  // namespace
