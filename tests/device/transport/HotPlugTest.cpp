// The hot-plug rule: which arrivals and removals of HID interfaces queue the worker's connect and
// removal commands, and the usage check read from enumeration.

#include "device/transport/HotPlug.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/transport/Trace.h"
#include "text/Utf.h"

namespace {

DeviceEntry Connection(int deviceType, int mode, std::uint32_t vendorId, std::uint32_t productId) {
    DeviceEntry entry;
    entry.deviceType = deviceType;
    entry.mode = mode;
    entry.vendorId = vendorId;
    entry.productId = productId;
    return entry;
}

class HotPlugTest : public ::testing::Test {
public:
    ~HotPlugTest() override { SetTraceSink(nullptr); }

    // Runs the rule with a usage check that answers `usageMatches` and counts its calls.
    std::vector<int> Run(int event, std::u16string_view path, bool connected,
                         bool usageMatches = true) {
        std::vector<int> queued;
        UpdateUSBDevice(
            event, path, connections_, connected,
            [this, usageMatches] {
                ++usageChecks_;
                return usageMatches;
            },
            [&queued](int command) { queued.push_back(command); });
        return queued;
    }

protected:
    ConnectionList connections_{
        Connection(1, 0, 0x1A2B, 0x00C3),  // cable
        Connection(1, 1, 0x1A2B, 0x00C4),  // receiver
        Connection(2, 0, 0x3E7A, 0x0C02),
    };
    int usageChecks_ = 0;
};

using Queued = std::vector<int>;

TEST_F(HotPlugTest, ArrivalMatchesVendorAndProductInAnyCaseAndChecksTheUsage) {
    struct Case {
        const char16_t* path;
        bool usageMatches;
        Queued expected;
        int usageChecks;
    };
    const Case cases[] = {
        {u"\\\\?\\hid#vid_1a2b&pid_00c3&mi_01#7&1f&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}",
         true, Queued{2}, 1},
        {u"\\\\?\\HID#VID_3E7A&PID_0C02#7&2a&0&0000#{...}", true, Queued{2}, 1},
        {u"\\\\?\\HID#VID_3E7A&PID_0C02&MI_02#7&2a&0&0000#{...}", false, Queued{}, 1},
        // The product id is always written with four digits: "PID_C3" does not match 0x00C3.
        {u"\\\\?\\HID#VID_1A2B&PID_C3#7&2a&0&0000#{...}", true, Queued{}, 0},
        {u"\\\\?\\HID#VID_1A2B&PID_00C5#7&2a&0&0000#{...}", true, Queued{}, 0},
        {u"", true, Queued{}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.path));
        usageChecks_ = 0;
        EXPECT_EQ(Run(kDeviceArrival, c.path, false, c.usageMatches), c.expected);
        EXPECT_EQ(usageChecks_, c.usageChecks);
    }
}

TEST_F(HotPlugTest, OnlyTheFirstMatchingEntryActsEvenWhenItsUsageFails) {
    // Two entries match the same vendor and product; the first decides alone.
    connections_.insert(connections_.begin(), Connection(7, 0, 0x3E7A, 0x0C02));
    EXPECT_EQ(Run(kDeviceArrival, u"\\\\?\\HID#VID_3E7A&PID_0C02&MI_02#x", true, false), Queued{});
    EXPECT_EQ(usageChecks_, 1);
    EXPECT_EQ(Run(kDeviceArrival, u"\\\\?\\HID#VID_3E7A&PID_0C02&MI_02#x", true, true), Queued{2});
    EXPECT_EQ(Run(kDeviceRemoval, u"\\\\?\\HID#VID_3E7A&PID_0C02&MI_02#x", true), Queued{3});
}

TEST_F(HotPlugTest, RemovalNeedsTheConnectedFlagAndInterfaceTwo) {
    struct Case {
        const char16_t* path;
        bool connected;
        Queued expected;
    };
    const Case cases[] = {
        {u"\\\\?\\hid#vid_1a2b&pid_00c4&mi_02#7&1f&0&0000#{...}", true, Queued{3}},
        {u"\\\\?\\HID#VID_1A2B&PID_00C4&MI_02#7&1f&0&0000#{...}", false, Queued{}},
        {u"\\\\?\\HID#VID_1A2B&PID_00C4&MI_01#7&1f&0&0000#{...}", true, Queued{}},
        {u"\\\\?\\HID#VID_1A2B&PID_00C4#7&1f&0&0000#{...}", true, Queued{}},
        {u"\\\\?\\HID#VID_FFFF&PID_00C4&MI_02#7&1f&0&0000#{...}", true, Queued{}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.path));
        EXPECT_EQ(Run(kDeviceRemoval, c.path, c.connected), c.expected);
    }
    EXPECT_EQ(usageChecks_, 0) << "removals never check the usage";
}

TEST_F(HotPlugTest, OtherEventsDoNothing) {
    const char16_t path[] = u"\\\\?\\HID#VID_1A2B&PID_00C4&MI_02#7&1f&0&0000#{...}";
    for (const int event : {0x0007, 0x8001, 0x8003, 0x8006, 0x0018}) {
        EXPECT_EQ(Run(event, path, true), Queued{}) << event;
    }
    EXPECT_EQ(usageChecks_, 0);
}

TEST_F(HotPlugTest, TracesTheUpperCasedPathBeforeMatching) {
    std::vector<std::u16string> lines;
    SetTraceSink([&lines](std::u16string_view text) { lines.emplace_back(text); });
    Run(kDeviceArrival, u"\\\\?\\hid#vid_9999&pid_0001#7&ab&0&0000", false);
    Run(0x0007, u"x", false);
    const std::vector<std::u16string> expected{
        u"UpdateUSBDevice path: \\\\?\\HID#VID_9999&PID_0001#7&AB&0&0000",
        u"UpdateUSBDevice path: X"};
    EXPECT_EQ(lines, expected);
}

class ListedInterfaces : public HidBackend {
public:
    explicit ListedInterfaces(std::vector<HidDeviceInfo> list) : list_(std::move(list)) {}
    std::vector<HidDeviceInfo> Enumerate() override { return list_; }
    std::unique_ptr<HidDevice> Open(const std::string&) override { return nullptr; }

private:
    std::vector<HidDeviceInfo> list_;
};

HidDeviceInfo Interface(const char* path, std::uint16_t usagePage, std::uint16_t usage) {
    HidDeviceInfo info;
    info.path = path;
    info.vendorId = 0x3E7A;
    info.productId = 0x0C02;
    info.usagePage = usagePage;
    info.usage = usage;
    return info;
}

TEST(HotPlugUsage, ReadsTheTopLevelUsageOfThePathFromEnumeration) {
    ListedInterfaces backend({
        Interface("/dev/hidraw1", 0x0001, 0x0002),  // the mouse itself
        Interface("/dev/hidraw2", 0x0001, 0x0000),  // the configuration interface
        Interface("/dev/hidraw3", 0xFF00, 0x0001),
        Interface("/dev/hidraw3", 0x0001, 0x0000),  // a second top-level collection
        Interface("/dev/hidraw4", 0x0000, 0x0001),
    });
    EXPECT_FALSE(HasConnectUsage(backend, "/dev/hidraw1"));
    EXPECT_TRUE(HasConnectUsage(backend, "/dev/hidraw2"));
    EXPECT_TRUE(HasConnectUsage(backend, "/dev/hidraw3"));
    EXPECT_FALSE(HasConnectUsage(backend, "/dev/hidraw4"));
    EXPECT_FALSE(HasConnectUsage(backend, "/dev/hidraw9")) << "gone again";
    EXPECT_FALSE(HasConnectUsage(backend, "/dev/hidraw"));
}

}  // namespace
