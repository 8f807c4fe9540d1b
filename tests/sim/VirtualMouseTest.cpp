// The mouse's side of the command protocol, request by request: checksum, every write command
// against the onboard state, the reads and the information reply, DPI decoding per sensor.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SimRequests.h"
#include "sim/SensorTable.h"
#include "sim/VirtualMouse.h"

namespace {

using namespace simtest;
using sim::MouseSettings;

sim::MouseIdentity Identity(int sensor = 17, std::uint8_t highestRate = 0x40) {
    sim::MouseIdentity identity;
    identity.deviceId = "K2A1";
    identity.sensorId = static_cast<std::uint8_t>(sensor);
    identity.highestRate = highestRate;
    identity.firmwareVersion = 0x0105;
    return identity;
}

sim::InputReport Send(sim::VirtualMouse& mouse, const Request65& request, std::size_t length = 33) {
    return mouse.Handle(request, length);
}

std::uint8_t Status(const sim::InputReport& reply) {
    return reply.at(1);
}

TEST(VirtualMouse, WrongChecksumIsRefusedAndChangesNothing) {
    sim::VirtualMouse mouse(Identity());
    const MouseSettings before = mouse.Settings();

    Request65 request = Write(0x02, 1, {0x08});
    request[32] ^= 0x01;
    EXPECT_EQ(Status(Send(mouse, request, 65)), 0x01);
    EXPECT_EQ(mouse.Settings(), before);

    // Bytes outside 5..31 do not enter the checksum: the same request with them changed is
    // accepted.
    request = Write(0x02, 1, {0x08});
    request[40] = 0x55;
    EXPECT_EQ(Status(Send(mouse, request, 65)), 0x00);
    EXPECT_EQ(mouse.Settings().reportRate, 0x08);
    // Even the information request is checked.
    request = Read(0x10);
    request[32] = 0x01;
    EXPECT_NE(Status(Send(mouse, request)), 0x00);
    EXPECT_EQ(mouse.Requests().Size(), 3u);
}

TEST(VirtualMouse, ReplyEchoesTheCommandAndCarriesTheStatusInByteOne) {
    sim::VirtualMouse mouse(Identity());
    const sim::InputReport reply = Send(mouse, Write(0x07, 4, {10, 1, 0, 4}), 65);
    ASSERT_EQ(reply.size(), 64u);
    EXPECT_EQ(reply[0], 0x07);
    EXPECT_EQ(reply[1], 0x00);
    EXPECT_EQ(reply[3], 0x01);
}

struct WriteCase {
    const char* name;
    Request65 request;
    std::function<void(MouseSettings&)> change;  // what the write does to the factory state
};

TEST(VirtualMouse, EveryWriteCommandChangesExactlyItsSettings) {
    const std::vector<WriteCase> cases = {
        {"report rate 1000 Hz", Write(0x02, 1, {0x01}), [](MouseSettings& s) { s.reportRate = 1; }},
        {"report rate 125 Hz", Write(0x02, 1, {0x08}), [](MouseSettings& s) { s.reportRate = 8; }},
        {"report rate 8000 Hz", Write(0x02, 1, {0x40}),
         [](MouseSettings& s) { s.reportRate = 0x40; }},
        {"DPI stages index 2 of 6",
         Write(0x03, 0x25, DpiPayload(2, 6, {8, 16, 210, 220, 221, 232})),
         [](MouseSettings& s) {
             s.dpi.selected = 2;
             s.dpi.count = 6;
             s.dpi.encoded = s.dpi.encodedSecond = {8, 16, 210, 220, 221, 232};
             s.dpi.dpi = {400, 800, 11000, 12000, 13000, 24000};
         }},
        {"DPI colours",
         Write(0x04, 18, {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
         [](MouseSettings& s) {
             s.dpiColours = {0x0000FF, 0x00FF00, 0xFF0000, 0x030201, 0x060504, 0x090807};
         }},
        {"lighting mode 0", Write(0x05, 2, {0, 0x52}),
         [](MouseSettings& s) {
             s.lighting = {0, 5, 2, {}};
         }},
        {"lighting mode 1", Write(0x05, 3, {1, 0x21, 0}),
         [](MouseSettings& s) {
             s.lighting = {1, 2, 1, {}};
         }},
        {"lighting mode 2, seven colours", Write(0x05, 24, {2, 0xF3, 7, 1, 0, 0, 2, 0, 0, 3, 0, 0,
                                                            4, 0,    0, 5, 0, 0, 6, 0, 0, 0, 0, 7}),
         [](MouseSettings& s) {
             s.lighting = {2, 15, 3, {1, 2, 3, 4, 5, 6, 0x070000}};
         }},
        {"lighting mode 3, one colour", Write(0x05, 5, {3, 0x44, 0x10, 0x20, 0x30}),
         [](MouseSettings& s) {
             s.lighting = {3, 4, 4, {0x302010}};
         }},
        {"lighting mode 5", Write(0x05, 2, {5, 0x00}),
         [](MouseSettings& s) {
             s.lighting = {5, 0, 0, {}};
         }},
        {"lift-off and sensor options", Write(0x06, 5, {2, 1, 0, 0, 0}),
         [](MouseSettings& s) {
             s.liftoffHeight = 2;
             s.sensorOption1 = 1;
             s.sensorOption2 = 0;
         }},
        {"power options", Write(0x07, 4, {30, 0, 1, 8}),
         [](MouseSettings& s) {
             s.sleepTime = 30;
             s.moveWakeup = 0;
             s.moveCloseLight = 1;
             s.debounce = 8;
         }},
        {"button table", Write(0x09, 0x0F, {0x10, 0x01, 0x00, 0x70, 0x01, 0x06, 0x40, 0x02, 0x00,
                                            0x90, 0x23, 0x05, 0x80, 0xE9, 0x00, 0x60, 0x00, 0x00,
                                            0x30, 0x32, 0x03, 0x20, 0xFF, 0x00, 0x00, 0x00, 0x00}),
         [](MouseSettings& s) {
             s.buttonTable = {0x10, 0x01, 0x00, 0x70, 0x01, 0x06, 0x40, 0x02, 0x00,
                              0x90, 0x23, 0x05, 0x80, 0xE9, 0x00, 0x60, 0x00, 0x00,
                              0x30, 0x32, 0x03, 0x20, 0xFF, 0x00, 0x00, 0x00, 0x00};
         }},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::VirtualMouse mouse(Identity());
        MouseSettings expected = mouse.Settings();
        c.change(expected);
        EXPECT_EQ(Status(Send(mouse, c.request)), 0x00);
        EXPECT_EQ(mouse.Settings(), expected);
    }
}

TEST(VirtualMouse, ResetsRestoreTheFactoryStateTheyCover) {
    sim::VirtualMouse mouse(Identity());
    const MouseSettings factory = mouse.Settings();
    ASSERT_EQ(Status(Send(mouse, Write(0x05, 5, {3, 0x44, 1, 2, 3}))), 0x00);
    ASSERT_EQ(Status(Send(mouse, Write(0x02, 1, {0x02}))), 0x00);
    ASSERT_EQ(Status(Send(mouse, MakeRequest(0x08, 0x01, 5, {4, 0x30, 1, 0, 4}))), 0x00);

    // 00 0E 00 01 01 01: the lighting only.
    EXPECT_EQ(Status(Send(mouse, Write(0x0E, 1, {0x01}))), 0x00);
    EXPECT_EQ(mouse.Settings().lighting, factory.lighting);
    EXPECT_EQ(mouse.Settings().reportRate, 0x02);
    EXPECT_EQ(mouse.MacroEvents(4).size(), 1u);

    // 00 0F 00 01 01 FF: everything, macros included.
    EXPECT_EQ(Status(Send(mouse, Write(0x0F, 1, {0xFF}))), 0x00);
    EXPECT_EQ(mouse.Settings(), factory);
}

struct RefusalCase {
    const char* name;
    Request65 request;
    std::uint8_t status;
};

TEST(VirtualMouse, RequestsOutsideTheTablesAreRefusedAndChangeNothing) {
    const std::vector<RefusalCase> cases = {
        {"unknown command", Write(0x0A, 1, {1}), 0x02},
        {"unknown read", Read(0x18), 0x02},
        {"no report-rate code", Write(0x02, 1, {0x03}), 0x03},
        {"report rate above the mouse's highest", Write(0x02, 1, {0x40}), 0x03},
        {"write without packet byte", MakeRequest(0x02, 0x00, 1, {0x01}), 0x03},
        {"report rate with a wrong length", Write(0x02, 2, {0x01}), 0x03},
        {"DPI length 25 rather than 0x25", Write(0x03, 25, DpiPayload(0, 6, {8, 8, 8, 8, 8, 8})),
         0x03},
        {"DPI count 0", Write(0x03, 0x25, DpiPayload(0, 0, {8, 8, 8, 8, 8, 8})), 0x03},
        {"DPI count 7", Write(0x03, 0x25, DpiPayload(0, 7, {8, 8, 8, 8, 8, 8})), 0x03},
        // Sensor 17 (50..24000): 0 decodes to 0 DPI, 233 to 25000.
        {"DPI below the sensor", Write(0x03, 0x25, DpiPayload(0, 6, {8, 8, 0, 8, 8, 8})), 0x03},
        {"DPI above the sensor", Write(0x03, 0x25, DpiPayload(0, 6, {8, 8, 8, 8, 8, 233})), 0x03},
        {"DPI colours short", Write(0x04, 17, {1}), 0x03},
        {"lighting mode 6", Write(0x05, 2, {6, 0x11}), 0x03},
        {"lighting mode 2 length", Write(0x05, 24, {2, 0x11, 6}), 0x03},
        {"lighting mode 3 length", Write(0x05, 2, {3, 0x11}), 0x03},
        {"sensor option 2", Write(0x06, 5, {1, 2, 0, 0, 0}), 0x03},
        {"power length", Write(0x07, 5, {1, 1, 1, 1}), 0x03},
        {"button entry kind 0x50", Write(0x09, 0x0F, {0x10, 1, 0, 0x50, 0, 0}), 0x03},
        {"read with a length", MakeRequest(0x12, 0x00, 1), 0x03},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::VirtualMouse mouse(Identity(17, 0x00));
        const MouseSettings before = mouse.Settings();
        EXPECT_EQ(Status(Send(mouse, c.request)), c.status);
        EXPECT_EQ(mouse.Settings(), before);
    }
}

TEST(VirtualMouse, InformationReplyCarriesIdentityBatteryAndLink) {
    sim::VirtualMouse mouse(Identity(53, 0x20));
    mouse.SetBattery({2, 77});
    const sim::InputReport reply = Send(mouse, Read(0x10));
    EXPECT_EQ(reply[1], 0x00);
    EXPECT_EQ(std::string(reply.begin() + 4, reply.begin() + 8), "K2A1");
    EXPECT_EQ(reply[10], 53);
    EXPECT_EQ(reply[11], 0x20);
    EXPECT_EQ(reply[12], 2);
    EXPECT_EQ(reply[13], 77);
    EXPECT_EQ(reply[14], 1);
}

TEST(VirtualMouse, ReadsAnswerFromTheOnboardState) {
    sim::VirtualMouse mouse(Identity());
    MouseSettings s = mouse.Settings();
    s.reportRate = 0x02;
    s.dpi.selected = 3;
    s.dpi.count = 5;
    s.dpi.encoded = {8, 16, 32, 64, 184, 232};
    s.dpi.encodedSecond = {8, 16, 32, 64, 185, 0x0102};
    s.dpiColours = {0x0000FF, 0x00FF00, 0xFF0000, 0x112233, 0x445566, 0x778899};
    s.lighting = {2, 7, 9, {0x010203, 0x040506}};
    s.liftoffHeight = 2;
    s.sensorOption1 = 1;
    s.sensorOption2 = 0;
    s.sleepTime = 60;
    s.moveWakeup = 1;
    s.moveCloseLight = 1;
    s.debounce = 12;
    mouse.ReplaceSettings(s);

    struct ReadCase {
        std::uint8_t command;
        Bytes data;  // reply bytes from byte 4 on
    };
    const std::vector<ReadCase> cases = {
        {0x12, {0x02}},
        {0x13, {0x35, 8, 0,  8, 0,   16, 0,   16, 0,   32, 0,    32,  0,
                64,   0, 64, 0, 184, 0,  185, 0,  232, 0,  0x02, 0x01}},
        {0x14,
         {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0x99, 0x88,
          0x77}},
        {0x15, {2, 0x79, 2, 0x03, 0x02, 0x01, 0x06, 0x05, 0x04}},
        {0x16, {2, 1, 0}},
        {0x17, {60, 1, 1, 12}},
        {0x20, {0x01, 0x05}},
        {0x11, {0, 0, 0}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.command);
        const sim::InputReport reply = Send(mouse, Read(c.command));
        ASSERT_EQ(reply.size(), 64u);
        EXPECT_EQ(reply[1], 0x00);
        EXPECT_EQ(Bytes(reply.begin() + 4, reply.begin() + 4 + c.data.size()), c.data);
    }

    // Mode 3 keeps its colour right after the brightness byte.
    s.lighting = {3, 1, 2, {0xA0B0C0}};
    mouse.ReplaceSettings(s);
    const sim::InputReport reply = Send(mouse, Read(0x15));
    EXPECT_EQ(Bytes(reply.begin() + 4, reply.begin() + 9), (Bytes{3, 0x12, 0xC0, 0xB0, 0xA0}));
}

struct DpiCase {
    int sensor;
    std::uint16_t encoded;
    int dpi;
};

TEST(VirtualMouse, StageValuesDecodePerSensor) {
    const std::vector<DpiCase> cases = {
        {5, 184, 12000},  {5, 128, 6400},   {5, 129, 6500},   {5, 1, 50},       {17, 232, 24000},
        {17, 210, 11000}, {17, 199, 9950},  {17, 200, 10000}, {17, 220, 12000}, {17, 221, 13000},
        {25, 159, 15900}, {25, 160, 16000}, {25, 174, 30000}, {4, 80, 8000},    {16, 48, 4800},
        {18, 1, 100},     {53, 160, 16000}, {37, 1, 200},     {37, 49, 5000},   {38, 50, 5500},
        {38, 59, 10000},  {99, 15, 800},    {0, 519, 26000},  {99, 0, 50},
    };
    for (const DpiCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "sensor " << c.sensor << " value " << c.encoded);
        sim::VirtualMouse mouse(Identity(c.sensor));
        const std::uint16_t low = sim::SensorTable::Encode(c.sensor, 400);
        ASSERT_EQ(
            Status(Send(mouse,
                        Write(0x03, 0x25, DpiPayload(0, 6, {c.encoded, low, low, low, low, low})))),
            0x00);
        EXPECT_EQ(mouse.Settings().dpi.dpi[0], c.dpi);
    }
}

TEST(SensorTable, EncodingInvertsDecodingOverEverySensorsRange) {
    for (int sensor : {4, 5, 16, 17, 18, 25, 37, 38, 53, 0, 99}) {
        const sim::SensorTable::Range range = sim::SensorTable::RangeOf(sensor);
        int offered = 0;
        for (int v = 0; v < 1024; ++v) {
            const int dpi = sim::SensorTable::Decode(sensor, v);
            if (dpi < range.lowest || dpi > range.highest) {
                continue;
            }
            ++offered;
            EXPECT_EQ(sim::SensorTable::Encode(sensor, dpi), v) << "sensor " << sensor;
        }
        EXPECT_GT(offered, 40) << "sensor " << sensor;
        EXPECT_EQ(sim::SensorTable::Decode(sensor, sim::SensorTable::Encode(sensor, 1)),
                  range.lowest);
        EXPECT_EQ(sim::SensorTable::Decode(sensor, sim::SensorTable::Encode(sensor, 1000000)),
                  range.highest);
    }
    // Sensor 17 offers nothing between 12000 and 13000.
    EXPECT_EQ(sim::SensorTable::Decode(17, sim::SensorTable::Encode(17, 12500)), 12000);
}

TEST(VirtualMouse, FactoryStagesLieInEverySensorsRange) {
    for (int sensor : {4, 5, 16, 17, 18, 25, 37, 38, 53, 99}) {
        const MouseSettings factory = MouseSettings::Factory(sensor);
        for (int dpi : factory.dpi.dpi) {
            EXPECT_TRUE(sim::SensorTable::InRange(sensor, dpi)) << sensor << " " << dpi;
        }
    }
}

}  // namespace
