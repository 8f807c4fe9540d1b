// The protocol against the virtual mouse: what each command leaves in the mouse's memory, and what
// the read-back brings from the mouse into the settings file.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "device/protocol/CommandProtocol.h"
#include "device/protocol/DeviceState.h"
#include "device/protocol/DpiEncoding.h"
#include "device/protocol/KeyTable.h"
#include "device/protocol/ProtocolFixture.h"
#include "device/transport/DeviceManager.h"
#include "sim/VirtualHidBackend.h"
#include "store/SettingsStore.h"
#include "support/TempDir.h"
#include "text/Format.h"
#include "text/Utf.h"

namespace {

constexpr int kDeviceType = 7;

DeviceEntry Entry(int mode) {
    DeviceEntry entry;
    entry.name = u"Sim mouse";
    entry.deviceType = kDeviceType;
    entry.deviceAttr = u"m1";
    entry.mode = mode;
    entry.vendorId = 0x1A2B;
    entry.productId = mode == 0 ? 0x00C3 : 0x00C4;
    entry.deviceId = u"SIM0";
    return entry;
}

class VirtualMouseTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.Path() / "db");
        ASSERT_TRUE(store.Open(FromUtf8(dir.Path().string()), u"m1"));
        profile = store.AddProfile(ProfileRecord{0, u"p", u"", 0, 0});
        state.SetCurrentProfile(profile);
        manager.SetSleepFunction([](int) {});
        backend.SetTimeScale(0.01);  // failure paths wait out their read time-outs
    }

    // Plugs in a mouse with `sensorId` (by cable, or through its receiver) and scans.
    sim::VirtualConnection& Plug(int mode, int sensorId = 17) {
        const DeviceEntry entry = Entry(mode);
        auto mouse =
            std::make_shared<sim::VirtualMouse>(sim::MouseIdentity::ForEntry(entry, sensorId));
        sim::VirtualConnection& connection =
            backend.AddConnection(sim::ConnectionSetup::ForEntry(entry, mouse->Identity()), mouse);
        Rescan();
        return connection;
    }

    // Opens what is plugged in now and selects the model.
    void Rescan() {
        std::vector<DeviceIdentity> identities;
        for (int m : {0, 1}) {
            const DeviceEntry entry = Entry(m);
            identities.push_back({entry.vendorId, entry.productId, u"", kDeviceType, m, u"SIM0"});
        }
        manager.Rescan(identities);
        manager.SetCurrentDeviceType(kDeviceType);
    }

    void SetKey(const std::u16string& key, int value) {
        ASSERT_TRUE(store.SetConfigValue(profile, key, Format(u"%d", value)));
    }
    int Key(const std::u16string& key) {
        std::u16string value;
        store.GetConfigValue(profile, key, value);
        return std::stoi(ToUtf8(value));
    }
    void SetStages(const std::vector<int>& values) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            SetKey(Format(u"dpi_group%d_value", static_cast<int>(i)), values[i]);
        }
    }

    TempDir dir;
    SettingsStore store;
    int profile = 0;
    sim::VirtualHidBackend backend;
    DeviceManager manager{backend};
    DeviceState state;
    RecordingView view;
    CountingFailureHandler failure;
    CommandProtocol protocol{manager, store, state, view, failure};
};

TEST_F(VirtualMouseTest, SettingsCommandsLandInTheMouse) {
    sim::VirtualMouse& mouse = Plug(0, 5).Mouse();
    ASSERT_TRUE(protocol.SyncFromDevice(false));  // learns the sensor
    SetKey(u"report_rate", 0x10);
    SetKey(u"dpi_index", 2);
    SetKey(u"dpi_count", 4);
    SetStages({30, 1600, 6450, 12000, 30000, 800});
    const int colors[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0, 0xFFFFFF};
    for (int i = 0; i < 6; ++i) {
        SetKey(Format(u"dpi_group%d_rgb", i), colors[i]);
    }
    SetKey(u"liftoff_height", 2);
    SetKey(u"sensor_flag", 8);
    SetKey(u"sleep_light", 6);
    SetKey(u"move_wakeup", 1);
    SetKey(u"move_closelight", 1);
    SetKey(u"button_respondtime", 12);

    EXPECT_TRUE(protocol.SendReportRate());
    EXPECT_TRUE(protocol.SendDpiStages());
    EXPECT_TRUE(protocol.SendDpiColors());
    EXPECT_TRUE(protocol.SendLiftoffSensor());
    EXPECT_TRUE(protocol.SendPowerOptions());
    EXPECT_EQ(failure.failures, 0);

    const sim::MouseSettings settings = mouse.Settings();
    EXPECT_EQ(settings.reportRate, 0x10);
    EXPECT_EQ(settings.dpi.selected, 2);
    EXPECT_EQ(settings.dpi.count, 4);
    // The profile's stages held to sensor 5's range and grid.
    EXPECT_EQ(settings.dpi.dpi, (std::array<int, 6>{50, 1600, 6400, 12000, 12000, 800}));
    EXPECT_EQ(settings.dpi.encoded, settings.dpi.encodedSecond);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(settings.dpiColours[static_cast<std::size_t>(i)],
                  static_cast<std::uint32_t>(colors[i]));
    }
    EXPECT_EQ(settings.liftoffHeight, 2);
    EXPECT_EQ(settings.sensorOption1, 1);
    EXPECT_EQ(settings.sensorOption2, 0);
    EXPECT_EQ(settings.sleepTime, 6);
    EXPECT_EQ(settings.moveWakeup, 1);
    EXPECT_EQ(settings.moveCloseLight, 1);
    EXPECT_EQ(settings.debounce, 12);
}

TEST_F(VirtualMouseTest, EverySensorTakesItsWholeRange) {
    sim::VirtualConnection* previous = nullptr;
    for (int sensorId : {4, 5, 16, 17, 18, 25, 37, 38, 53, 99}) {
        if (previous != nullptr) {
            previous->Unplug();
        }
        previous = &Plug(0, sensorId);
        sim::VirtualMouse& mouse = previous->Mouse();
        state.ClearSynchronised();
        ASSERT_TRUE(protocol.SyncFromDevice(false));
        ASSERT_EQ(state.SensorId(), sensorId);
        const SensorInfo sensor = SensorFor(sensorId);
        SetKey(u"dpi_count", 6);
        SetStages({0, sensor.lowest, sensor.lowest + 150, (sensor.lowest + sensor.highest) / 2,
                   sensor.highest, 100000});
        EXPECT_TRUE(protocol.SendDpiStages()) << "sensor " << sensorId;
        const auto dpi = mouse.Settings().dpi.dpi;
        for (std::size_t i = 0; i < 6; ++i) {
            const int sent =
                ClampDpi(sensorId, Key(Format(u"dpi_group%d_value", static_cast<int>(i))));
            EXPECT_EQ(dpi[i], DecodeDpi(sensorId, EncodeDpi(sensorId, sent)))
                << "sensor " << sensorId << ", stage " << i;
        }
        EXPECT_EQ(dpi[0], sensor.lowest);
        EXPECT_EQ(dpi[5], sensor.highest);
    }
}

TEST_F(VirtualMouseTest, LightingModesLandInTheMouse) {
    sim::VirtualMouse& mouse = Plug(0).Mouse();
    for (int mode : {0, 1, 2, 3, 4, 5}) {
        LightModeRecord record;
        record.profile = profile;
        record.mode = mode;
        record.brightness = 3;
        record.speed = mode;
        record.color_value1 = 0x0000FF;
        record.color_value2 = 0x00FF00;
        record.color_value3 = 0xFF0000;
        record.color_value4 = 0xFFFF00;
        record.color_value5 = 0x00FFFF;
        record.color_value6 = 0xFF00FF;
        record.color_value7 = 0x123456;
        ASSERT_GT(store.AddLightMode(record), 0);
    }
    for (int mode : {2, 3, 0, 1, 4, 5}) {
        state.SetCurrentLightMode(mode);
        EXPECT_TRUE(protocol.SendLighting()) << mode;
        const sim::LightingState lighting = mouse.Settings().lighting;
        EXPECT_EQ(lighting.mode, mode);
        EXPECT_EQ(lighting.brightness, 3);
        EXPECT_EQ(lighting.speed, mode);
        const std::vector<std::uint32_t> colours =
            mode == 2   ? std::vector<std::uint32_t>{0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00,
                                                     0x00FFFF, 0xFF00FF, 0x123456}
            : mode == 3 ? std::vector<std::uint32_t>{0x0000FF}
                        : std::vector<std::uint32_t>{};
        EXPECT_EQ(lighting.colours, colours) << mode;
        EXPECT_EQ(store.GetActiveLightMode(profile), mode);
    }
}

TEST_F(VirtualMouseTest, ButtonTableAndMacroLandInTheMouse) {
    sim::VirtualMouse& mouse = Plug(0).Mouse();
    const int macro = store.AddMacro(MacroRecord{0, u"m", 0, 3, 1, 0});
    std::vector<MacroEventRecord> events = {
        {0, macro, 2, 0, 0xA2, 1, u""},  // left Ctrl down
        {0, macro, 2, 1, 0x43, 2, u""},  // C down
        {0, macro, 1, 2, 20, 3, u""},    // 20 ms
        {0, macro, 1, 3, 30, 4, u""},    // 30 ms
        {0, macro, 3, 4, 0x43, 2, u""},  // C up
        {0, macro, 3, 5, 0xA2, 1, u""},  // left Ctrl up
        {0, macro, 4, 6, 2, 5, u""},     // right button down
        {0, macro, 5, 7, 2, 5, u""},     // right button up
    };
    store.AddMacroEvents(events);
    const KeyAssignmentRecord rows[] = {
        {0, profile, 0, 3, 0, u"", 4, macro, 0, 0, u""},
        {0, profile, 0, 4, 0, u"", 2, 0x06, 0x01, 0, u""},
        {0, profile, 0, 6, 0, u"", 9, 1, 0, 0, u""},
        {0, profile, 0, 7, 0, u"", 8, 5, 0, 0, u""},
    };
    for (const KeyAssignmentRecord& row : rows) {
        ASSERT_GT(store.SaveKeyAssignment(row), 0);
    }
    state.SetPendingMacro(3);

    EXPECT_TRUE(protocol.SendButtonTable());
    const sim::MouseSettings settings = mouse.Settings();
    KeyTable table;
    table.Apply(rows, std::vector<MacroRecord>{MacroRecord{macro, u"m", 0, 3, 1, 0}});
    EXPECT_TRUE(std::equal(settings.buttonTable.begin(), settings.buttonTable.end(),
                           table.Bytes().begin()));
    EXPECT_EQ(settings.buttonTable[9], 0x90);
    EXPECT_EQ(settings.buttonTable[10], 0x23);
    EXPECT_EQ(settings.buttonTable[11], 3);

    const std::vector<sim::MacroEvent> expected = {
        {0x20, 1, 0x01}, {0x30, 50, 0x06}, {0xB0, 1, 0x06},
        {0xA0, 1, 0x01}, {0x10, 1, 0x02},  {0x90, 1, 0x02},
    };
    EXPECT_EQ(mouse.MacroEvents(3), expected);
}

TEST_F(VirtualMouseTest, LongestMacroArrivesWhole) {
    sim::VirtualMouse& mouse = Plug(0).Mouse();
    const int macro = store.CreateMacro(u"long");
    std::vector<MacroEventRecord> events;
    for (int i = 0; i < 101; ++i) {
        events.push_back({0, macro, i % 2 == 0 ? 2 : 3, i, 0x41 + (i / 2) % 26, i, u""});
    }
    store.AddMacroEvents(events);
    EXPECT_TRUE(protocol.UploadMacro(5, macro));
    const std::vector<sim::MacroEvent> stored = mouse.MacroEvents(5);
    ASSERT_EQ(stored.size(), 101u);
    EXPECT_EQ(stored.front(), (sim::MacroEvent{0x30, 1, 0x04}));
    EXPECT_EQ(stored.back(), (sim::MacroEvent{0x30, 1, 0x04 + 50 % 26}));
}

TEST_F(VirtualMouseTest, ReadBackBringsTheMouseSettingsIntoTheProfile) {
    sim::VirtualMouse& mouse = Plug(0, 17).Mouse();
    sim::MouseSettings settings = sim::MouseSettings::Factory(17);
    settings.reportRate = 0x20;
    settings.dpi.selected = 4;
    settings.dpi.count = 5;
    const int dpis[] = {100, 9950, 11000, 13000, 24000, 50};
    for (std::size_t i = 0; i < 6; ++i) {
        settings.dpi.encoded[i] = settings.dpi.encodedSecond[i] =
            static_cast<std::uint16_t>(EncodeDpi(17, dpis[i]));
    }
    settings.dpiColours = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0, 0xFFFFFF};
    settings.lighting = {3, 2, 1, {0x00FF00}};
    settings.liftoffHeight = 2;
    settings.sensorOption1 = 0;
    settings.sensorOption2 = 1;
    settings.sleepTime = 30;
    settings.debounce = 6;
    mouse.ReplaceSettings(settings);
    LightModeRecord light;
    light.profile = profile;
    light.mode = 3;
    ASSERT_GT(store.AddLightMode(light), 0);

    ASSERT_TRUE(protocol.SyncFromDevice(true));
    EXPECT_EQ(Key(u"report_rate"), 0x20);
    EXPECT_EQ(Key(u"report_rate_wireless"), 0x20);
    EXPECT_EQ(Key(u"dpi_index"), 4);
    EXPECT_EQ(Key(u"dpi_count"), 5);
    EXPECT_EQ(Key(u"dpi_flag"), 5);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Key(Format(u"dpi_group%d_value", i)), dpis[i]) << i;
        EXPECT_EQ(Key(Format(u"dpi_group%d_rgb", i)),
                  static_cast<int>(settings.dpiColours[static_cast<std::size_t>(i)]));
    }
    EXPECT_EQ(state.CurrentLightMode(), 3);
    ASSERT_TRUE(store.GetLightMode(profile, 3, light));
    EXPECT_EQ(light.brightness, 2);
    EXPECT_EQ(light.speed, 1);
    EXPECT_EQ(store.GetActiveLightMode(profile), 3);
    EXPECT_EQ(Key(u"liftoff_height"), 2);
    EXPECT_EQ(Key(u"sensor_flag"), 4);
    EXPECT_EQ(Key(u"sleep_light"), 30);
    EXPECT_EQ(Key(u"button_respondtime"), 6);

    // Sending the read-back values changes nothing in the mouse.
    EXPECT_TRUE(protocol.SendDpiStages());
    EXPECT_TRUE(protocol.SendLiftoffSensor());
    EXPECT_EQ(mouse.Settings().dpi.encoded, settings.dpi.encoded);
    EXPECT_EQ(mouse.Settings().sensorOption2, 1);
}

TEST_F(VirtualMouseTest, ThroughTheReceiver) {
    sim::VirtualConnection& connection = Plug(1);
    ASSERT_NE(connection.Receiver(), nullptr);
    ASSERT_TRUE(protocol.SyncFromDevice(true));
    EXPECT_EQ(state.MouseFirmwareVersion(), u"103");
    EXPECT_EQ(view.calls.back(), "SetMouseFirmwareVersion 103");

    // Without its mouse the receiver says so in the information reply.
    connection.Receiver()->Unlink();
    Rescan();
    state.ClearSynchronised();
    EXPECT_FALSE(protocol.SyncFromDevice(true));
    EXPECT_EQ(failure.failures, 1);
    EXPECT_FALSE(state.IsSynchronised(kDeviceType));

    // Writes are refused, traced and handled.
    SetKey(u"report_rate", 1);
    EXPECT_FALSE(protocol.SendReportRate());
    EXPECT_EQ(failure.failures, 2);
}

TEST_F(VirtualMouseTest, ResetsRestoreTheMouse) {
    sim::VirtualMouse& mouse = Plug(0).Mouse();
    LightModeRecord light;
    light.profile = profile;
    light.mode = 1;
    light.brightness = 4;
    light.speed = 4;
    ASSERT_GT(store.AddLightMode(light), 0);
    sim::MouseSettings settings = mouse.Settings();
    settings.lighting = {2, 1, 1, {0xFF}};
    settings.sleepTime = 99;
    mouse.ReplaceSettings(settings);

    EXPECT_TRUE(protocol.ResetLighting());
    const sim::LightingState factory = sim::MouseSettings::FactoryLighting();
    EXPECT_EQ(mouse.Settings().lighting.mode, factory.mode);
    EXPECT_EQ(state.CurrentLightMode(), factory.mode);
    ASSERT_TRUE(store.GetLightMode(profile, 1, light));
    EXPECT_EQ(light.brightness, factory.brightness);
    EXPECT_EQ(light.speed, factory.speed);
    EXPECT_EQ(mouse.Settings().sleepTime, 99);

    EXPECT_TRUE(protocol.FactoryReset());
    EXPECT_EQ(mouse.Settings().sleepTime, sim::MouseSettings::Factory(17).sleepTime);
}

}  // namespace
