// The receiver and its mouse: linking, unlinking, the link report, battery changes and the DPI
// button's stage report, over the command interface as the host reads it.

#include <gtest/gtest.h>

#include "SimExchange.h"
#include "sim/VirtualHidBackend.h"

namespace {

using namespace simtest;

TEST(VirtualReceiver, WithoutItsMouseItAnswersOnlyTheInformationRequest) {
    sim::VirtualHidBackend backend;
    sim::VirtualConnection& dongle = AddTestConnection(backend, 1, /*linked=*/false);
    dongle.Mouse().SetBattery({1, 80});
    auto device = OpenCommand(backend, dongle);
    ASSERT_TRUE(device);

    const Bytes info = Exchange(*device, Read(0x10));
    ASSERT_EQ(info.size(), 33u);
    EXPECT_EQ(info[1], 0x00);
    EXPECT_EQ(std::string(info.begin() + 4, info.begin() + 8), "K2A1");
    EXPECT_EQ(info[14], 0) << "link byte";
    EXPECT_EQ(info[13], 0) << "battery level of a mouse out of reach";

    for (const Request65& request : {Read(0x12), Write(0x02, 1, {0x08})}) {
        const Bytes reply = Exchange(*device, request);
        ASSERT_FALSE(reply.empty());
        EXPECT_NE(reply[1], 0x00);
    }
    EXPECT_EQ(dongle.Mouse().Requests().Size(), 0u) << "nothing reaches an unlinked mouse";
    EXPECT_EQ(dongle.Mouse().Settings().reportRate, 0x01);
    EXPECT_EQ(dongle.CommandLog().Size(), 3u);
}

TEST(VirtualReceiver, LinkingAndUnlinkingSendTheLinkReport) {
    sim::VirtualHidBackend backend;
    sim::VirtualConnection& dongle = AddTestConnection(backend, 1, /*linked=*/false);
    dongle.Mouse().SetBattery({0, 90});
    auto device = OpenCommand(backend, dongle);

    dongle.Receiver()->Link();
    Bytes report = ReadReport(*device);
    ASSERT_GE(report.size(), 4u);
    EXPECT_EQ(Bytes(report.begin(), report.begin() + 4), (Bytes{0xC0, 1, 90, 0}));
    dongle.Receiver()->Link();  // no change, no report
    EXPECT_TRUE(ReadReport(*device, 0).empty());

    const Bytes info = Exchange(*device, Read(0x10));
    EXPECT_EQ(info[14], 1);
    EXPECT_EQ(info[13], 90);
    EXPECT_EQ(Exchange(*device, Write(0x02, 1, {0x08}))[1], 0x00);
    EXPECT_EQ(dongle.Mouse().Settings().reportRate, 0x08);

    dongle.Mouse().SetBattery({1, 40});
    report = ReadReport(*device);
    EXPECT_EQ(Bytes(report.begin(), report.begin() + 4), (Bytes{0xC0, 1, 40, 1}));

    dongle.Receiver()->Unlink();
    report = ReadReport(*device);
    EXPECT_EQ(Bytes(report.begin(), report.begin() + 4), (Bytes{0xC0, 0, 0, 0}));
    dongle.Mouse().SetBattery({1, 30});
    EXPECT_TRUE(ReadReport(*device, 0).empty()) << "an unlinked mouse's battery is not heard";
    EXPECT_EQ(Exchange(*device, Read(0x10))[14], 0);
}

TEST(VirtualReceiver, DpiButtonCyclesTheStagesAndReportsThemWhereverTheMouseIsReached) {
    sim::VirtualHidBackend backend;
    auto mouse = std::make_shared<sim::VirtualMouse>(sim::MouseIdentity{});
    sim::ConnectionSetup cableSetup;
    cableSetup.vendorId = 0x3E7A;
    cableSetup.productId = 0x0C02;
    sim::ConnectionSetup dongleSetup = cableSetup;
    dongleSetup.productId = 0x0C03;
    dongleSetup.mode = 1;
    sim::VirtualConnection& cable = backend.AddConnection(cableSetup, mouse);
    sim::VirtualConnection& dongle = backend.AddConnection(dongleSetup, mouse);
    auto cableDevice = OpenCommand(backend, cable);
    auto dongleDevice = OpenCommand(backend, dongle);

    // Three stages, the second selected: 0x10|3 -> 0x23 -> 0x03 (wraps) -> 0x13.
    ASSERT_EQ(
        Exchange(*cableDevice, Write(0x03, 0x25, DpiPayload(1, 3, {8, 16, 32, 32, 32, 32})))[1],
        0x00);
    for (std::uint8_t expected : {0x23, 0x03, 0x13}) {
        mouse->PressDpiButton();
        for (HidDevice* reader : {cableDevice.get(), dongleDevice.get()}) {
            const Bytes report = ReadReport(*reader);
            ASSERT_GE(report.size(), 2u);
            EXPECT_EQ(report[0], 0xC2);
            EXPECT_EQ(report[1], expected);
        }
    }
    EXPECT_EQ(mouse->Settings().dpi.selected, 1);

    dongle.Receiver()->Unlink();
    ASSERT_EQ(ReadReport(*dongleDevice)[0], 0xC0);
    mouse->PressDpiButton();
    EXPECT_EQ(ReadReport(*cableDevice)[1], 0x23);
    EXPECT_TRUE(ReadReport(*dongleDevice, 0).empty());
}

TEST(VirtualReceiver, AStoredStageBeyondTheCountStartsTheCycleAtTheFirst) {
    sim::VirtualMouse mouse({});
    auto settings = mouse.Settings();
    settings.dpi.selected = 5;
    settings.dpi.count = 3;
    mouse.ReplaceSettings(settings);
    mouse.PressDpiButton();
    EXPECT_EQ(mouse.Settings().dpi.selected, 1);
}

}  // namespace
