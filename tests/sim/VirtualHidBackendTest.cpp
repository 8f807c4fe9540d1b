// Virtual mice built from the shipped config.xml: what enumeration shows, opening by path, the
// information reply per model, plug events, and a reader thread racing user actions.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "SimExchange.h"
#include "device/catalogue/DeviceCatalog.h"
#include "sim/SimSetup.h"
#include "sim/VirtualHidBackend.h"

namespace {

using namespace simtest;

const std::filesystem::path kData = KESTREL_SOURCE_DATA_DIR;

class ShippedCatalogTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(catalog_.LoadDeviceList(kData, u"/skin/")); }

    DeviceCatalog catalog_;
    sim::VirtualHidBackend backend_;
};

TEST_F(ShippedCatalogTest, EveryConnectionShowsPointerUpdateAndCommandInterfaces) {
    for (const DeviceEntry& entry : catalog_.Connections()) {
        backend_.AddConnection(entry);
    }
    const std::vector<HidDeviceInfo> interfaces = backend_.Enumerate();
    ASSERT_EQ(interfaces.size(), 3 * catalog_.Connections().size());

    for (std::size_t i = 0; i < interfaces.size(); ++i) {
        const DeviceEntry& entry = catalog_.Connections()[i / 3];
        const HidDeviceInfo& info = interfaces[i];
        SCOPED_TRACE(info.path);
        EXPECT_EQ(info.path, "sim:" + std::to_string(i / 3 + 1) + ":" + std::to_string(i % 3));
        EXPECT_EQ(info.vendorId, entry.vendorId);
        EXPECT_EQ(info.productId, entry.productId);
        EXPECT_EQ(info.interfaceNumber, static_cast<int>(i % 3));
        const std::pair<int, int> usage{info.usagePage, info.usage};
        switch (i % 3) {
            case 0:
                EXPECT_EQ(usage, std::make_pair(0x0001, 0x0002)) << "pointer";
                break;
            case 1:
                EXPECT_EQ(usage, std::make_pair(0xFFEF, 0x0000)) << "firmware update";
                break;
            default:
                EXPECT_EQ(usage, std::make_pair(0x0001, 0x0000)) << "commands";
                break;
        }
        EXPECT_EQ(info.productString, entry.mode == 0 ? entry.name : u"2.4G Wireless Receiver");
    }
}

TEST_F(ShippedCatalogTest, TheCommandInterfaceReportsTheModelsDeviceIdAndSensor) {
    for (const DeviceEntry& entry : catalog_.Connections()) {
        SCOPED_TRACE(std::string(entry.deviceId.begin(), entry.deviceId.end()));
        sim::VirtualConnection& connection = backend_.AddConnection(entry, 25);
        auto device = OpenCommand(backend_, connection);
        ASSERT_TRUE(device);
        const Bytes info = Exchange(*device, Read(0x10));
        ASSERT_EQ(info.size(), 33u);
        EXPECT_EQ(info[1], 0x00);
        EXPECT_EQ(std::u16string(info.begin() + 4, info.begin() + 8), entry.deviceId);
        EXPECT_EQ(info[10], 25);
        EXPECT_EQ(info[14], 1);
        std::u16string product;
        EXPECT_TRUE(device->ProductString(product));
        EXPECT_FALSE(product.empty());
    }
}

TEST_F(ShippedCatalogTest, AllConnectionsOfAModelReachOneMouse) {
    const std::vector<sim::VirtualConnection*> added =
        sim::AddModelConnections(backend_, catalog_, 1003, sim::SimChoice::kAllModes, 5);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[0]->Setup().mode, 0);
    EXPECT_EQ(added[1]->Setup().mode, 1);
    EXPECT_EQ(&added[0]->Mouse(), &added[1]->Mouse());
    EXPECT_EQ(added[0]->Mouse().Identity().deviceId, "K2P1");
    EXPECT_EQ(added[0]->Mouse().Identity().sensorId, 5);

    auto cable = OpenCommand(backend_, *added[0]);
    auto dongle = OpenCommand(backend_, *added[1]);
    ASSERT_EQ(Exchange(*cable, Write(0x02, 1, {0x04}))[1], 0x00);
    EXPECT_EQ(Exchange(*dongle, Read(0x12))[4], 0x04);
}

TEST(VirtualHidBackend, OpenTakesOnlyPathsOfPresentInterfaces) {
    sim::VirtualHidBackend backend;
    AddTestConnection(backend, 0);
    EXPECT_TRUE(backend.Open("sim:1:2"));
    EXPECT_TRUE(backend.Open("sim:1:0"));
    for (const char* path : {"sim:1:3", "sim:2:2", "sim:0:2", "sim:1:", "sim:1", "sim:1:2x",
                             "sim::2", "/dev/hidraw0", "", "sim:-1:2"}) {
        EXPECT_FALSE(backend.Open(path)) << path;
    }
}

TEST(VirtualHidBackend, DeniedOpensAreAPermissionProblemUntilCleared) {
    sim::VirtualHidBackend backend;
    sim::VirtualConnection& connection = AddTestConnection(backend, 0);
    auto before = OpenCommand(backend, connection);
    ASSERT_TRUE(before);
    EXPECT_EQ(backend.WhyOpenFails("sim:1:2"), HidOpenFailure::Unknown) << "it opens";

    connection.Faults().DenyOpens();
    for (const char* path : {"sim:1:0", "sim:1:1", "sim:1:2"}) {
        EXPECT_FALSE(backend.Open(path)) << path;
        EXPECT_EQ(backend.WhyOpenFails(path), HidOpenFailure::PermissionDenied) << path;
    }
    EXPECT_EQ(backend.WhyOpenFails("sim:1:3"), HidOpenFailure::NotFound);
    EXPECT_EQ(backend.WhyOpenFails("sim:2:2"), HidOpenFailure::NotFound);
    connection.Mouse().PressDpiButton();
    EXPECT_EQ(ReadReport(*before)[0], 0xC2) << "a handle opened before goes on working";

    connection.Unplug();
    EXPECT_EQ(backend.WhyOpenFails("sim:1:2"), HidOpenFailure::NotFound) << "gone, not denied";
    connection.Plug();
    connection.Faults().Clear();
    EXPECT_TRUE(backend.Open("sim:1:2"));
}

TEST(VirtualHidBackend, EveryHandleGetsItsOwnCopyOfEachReport) {
    sim::VirtualHidBackend backend;
    sim::VirtualConnection& connection = AddTestConnection(backend, 0);
    auto first = OpenCommand(backend, connection);
    auto second = OpenCommand(backend, connection);
    connection.Mouse().PressDpiButton();
    EXPECT_EQ(ReadReport(*first)[0], 0xC2);
    EXPECT_EQ(ReadReport(*second)[0], 0xC2);
    auto late = OpenCommand(backend, connection);
    EXPECT_TRUE(ReadReport(*late, 0).empty()) << "reports from before it was opened";
}

TEST(VirtualHidBackend, PlugListenerHearsEveryInterfaceArriveAndLeave) {
    sim::VirtualHidBackend backend;
    std::vector<std::pair<sim::PlugEvent, std::string>> events;
    backend.SetPlugListener([&events](sim::PlugEvent event, const std::string& name) {
        events.emplace_back(event, name);
    });
    sim::VirtualConnection& connection = AddTestConnection(backend, 1);
    connection.Unplug();
    connection.Unplug();  // already out: nothing
    connection.Plug();
    ASSERT_EQ(events.size(), 9u);
    EXPECT_EQ(events[2].first, sim::PlugEvent::Arrival);
    EXPECT_EQ(events[5].first, sim::PlugEvent::Removal);
    EXPECT_EQ(events[8].first, sim::PlugEvent::Arrival);
    EXPECT_NE(events[5].second.find("VID_3E7A&PID_0C03&MI_02"), std::string::npos)
        << events[5].second;
    EXPECT_NE(events[3].second.find("&MI_00"), std::string::npos);
}

TEST(VirtualHidBackend, AReaderThreadSeesEveryStageChangeInOrder) {
    sim::VirtualHidBackend backend;
    sim::VirtualConnection& connection = AddTestConnection(backend, 1);
    auto device = OpenCommand(backend, connection);
    constexpr int kPresses = 40;  // 6 stages, the second selected at the start

    std::atomic<bool> stop{false};
    std::atomic<std::size_t> seenCount{0};
    std::vector<std::uint8_t> seen;  // the reader's until it is joined
    std::thread reader([&] {
        while (!stop && seen.size() < kPresses) {
            const Bytes report = ReadReport(*device, 100);
            if (!report.empty() && report[0] == 0xC2) {
                seen.push_back(report[1]);
                seenCount = seen.size();
            }
        }
    });
    for (int i = 0; i < kPresses; ++i) {
        connection.Mouse().PressDpiButton();
        if (i % 8 == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    // Time enough for the reader; a stuck reader fails the comparison below rather than hangs.
    for (int wait = 0; wait < 500 && seenCount < kPresses; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    stop = true;
    reader.join();

    ASSERT_EQ(seen.size(), static_cast<std::size_t>(kPresses));
    for (int i = 0; i < kPresses; ++i) {
        EXPECT_EQ(seen[i], static_cast<std::uint8_t>((((2 + i) % 6) << 4) | 6)) << i;
    }
}

}  // namespace
