// ListeningHidBackend over virtual mice: input is buffered by the reader and told at once, reads
// take the buffer, an unplugged device fails its reads, and a cleared callback is never called.

#include "device/transport/ListeningHidBackend.h"
#include "support/Eventually.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "device/catalogue/DeviceEntry.h"
#include "sim/SimSetup.h"
#include "sim/VirtualConnection.h"
#include "sim/VirtualHidBackend.h"

namespace {

using namespace std::chrono_literals;

DeviceEntry Cable() {
    DeviceEntry entry;
    entry.name = u"K2";
    entry.deviceType = 1002;
    entry.vendorId = 0x3E7A;
    entry.productId = 0x0C02;
    entry.deviceId = u"K2A1";
    return entry;
}

class ListeningHidBackendTest : public testing::Test {
protected:
    ListeningHidBackendTest()
        : connection(mice.AddConnection(Cable())), listening(mice, [this] { ++told; }) {}

    std::unique_ptr<HidDevice> OpenCommands() {
        return listening.Open(connection.PathOf(sim::VirtualConnection::kCommandInterface));
    }

    sim::VirtualHidBackend mice;
    sim::VirtualConnection& connection;
    std::atomic<int> told{0};
    ListeningHidBackend listening;
};

TEST_F(ListeningHidBackendTest, InputIsBufferedAndToldAtOnce) {
    std::unique_ptr<HidDevice> device = OpenCommands();
    ASSERT_NE(device, nullptr);
    std::uint8_t report[65] = {};
    EXPECT_EQ(device->Read(report, sizeof report, 0), 0) << "nothing there yet";

    connection.Mouse().PressDpiButton();
    ASSERT_GT(device->Read(report, sizeof report, 5000), 0);
    EXPECT_EQ(report[0], 0xC2);
    // The reader tells after it buffered the report, so the telling may follow the read.
    EXPECT_TRUE(Eventually([&] { return told.load() == 1; }));

    // A request's reply comes the same way.
    const std::uint8_t request[33] = {0x00, 0x10};
    EXPECT_EQ(device->Write(request, sizeof request), 33);
    ASSERT_GT(device->Read(report, sizeof report, 5000), 0);
    EXPECT_TRUE(Eventually([&] { return told.load() == 2; }));
}

TEST_F(ListeningHidBackendTest, UnpluggedDeviceFailsItsReads) {
    std::unique_ptr<HidDevice> device = OpenCommands();
    ASSERT_NE(device, nullptr);
    connection.Unplug();
    std::uint8_t report[65] = {};
    EXPECT_EQ(device->Read(report, sizeof report, 5000), -1);
    EXPECT_EQ(device->Read(report, sizeof report, 0), -1);
}

TEST_F(ListeningHidBackendTest, ClearedCallbackIsNeverCalledAgain) {
    std::unique_ptr<HidDevice> device = OpenCommands();
    ASSERT_NE(device, nullptr);
    listening.SetInputCallback({});
    connection.Mouse().PressDpiButton();
    std::uint8_t report[65] = {};
    ASSERT_GT(device->Read(report, sizeof report, 5000), 0);
    EXPECT_EQ(told.load(), 0);
}

TEST_F(ListeningHidBackendTest, UnknownPathOpensNothing) {
    EXPECT_EQ(listening.Open("sim:99:2"), nullptr);
}

}  // namespace
