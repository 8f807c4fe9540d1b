// HidapiBackend over the hidapi test double: what enumeration and the handles hand on from
// hidapi's C interface.

#include "device/transport/HidapiBackend.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include "sim/FakeHidapi.h"
#include "sim/VirtualHidBackend.h"
#include "support/TempDir.h"

namespace {

DeviceEntry Entry(std::u16string name, int mode, std::uint32_t productId) {
    DeviceEntry entry;
    entry.name = std::move(name);
    entry.deviceType = 1002;
    entry.mode = mode;
    entry.vendorId = 0x3E7A;
    entry.productId = productId;
    entry.deviceId = u"K2A1";
    return entry;
}

class HidapiBackendTest : public ::testing::Test {
protected:
    HidapiBackendTest() { SetFakeHidapiBackend(&mice); }
    ~HidapiBackendTest() override { SetFakeHidapiBackend(nullptr); }

    sim::VirtualHidBackend mice;
};

TEST_F(HidapiBackendTest, EnumerationCarriesEveryField) {
    // A name outside the Basic Multilingual Plane survives hidapi's wide characters.
    mice.AddConnection(Entry(u"K2 \U0001F42D", 0, 0x0C02));
    mice.AddConnection(Entry(u"K2", 1, 0x0C03));
    HidapiBackend backend;
    const std::vector<HidDeviceInfo> infos = backend.Enumerate();
    ASSERT_EQ(infos.size(), 6u);

    struct Expect {
        const char* path;
        std::uint16_t productId;
        std::uint16_t release;
        std::uint16_t usagePage;
        std::uint16_t usage;
        int interfaceNumber;
        std::u16string product;
    };
    const Expect expect[] = {
        {"sim:1:0", 0x0C02, 0x0103, 0x0001, 0x0002, 0, u"K2 \U0001F42D"},
        {"sim:1:1", 0x0C02, 0x0103, 0xFFEF, 0x0000, 1, u"K2 \U0001F42D"},
        {"sim:1:2", 0x0C02, 0x0103, 0x0001, 0x0000, 2, u"K2 \U0001F42D"},
        {"sim:2:0", 0x0C03, 0x0101, 0x0001, 0x0002, 0, u"2.4G Wireless Receiver"},
        {"sim:2:1", 0x0C03, 0x0101, 0xFFEF, 0x0000, 1, u"2.4G Wireless Receiver"},
        {"sim:2:2", 0x0C03, 0x0101, 0x0001, 0x0000, 2, u"2.4G Wireless Receiver"},
    };
    for (std::size_t i = 0; i < infos.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(infos[i].path, expect[i].path);
        EXPECT_EQ(infos[i].vendorId, 0x3E7A);
        EXPECT_EQ(infos[i].productId, expect[i].productId);
        EXPECT_EQ(infos[i].releaseNumber, expect[i].release);
        EXPECT_EQ(infos[i].usagePage, expect[i].usagePage);
        EXPECT_EQ(infos[i].usage, expect[i].usage);
        EXPECT_EQ(infos[i].interfaceNumber, expect[i].interfaceNumber);
        EXPECT_EQ(infos[i].productString, expect[i].product);
    }
}

TEST_F(HidapiBackendTest, HandlesWriteReadAndNameTheirProduct) {
    sim::VirtualConnection& cable = mice.AddConnection(Entry(u"K2 \U0001F42D", 0, 0x0C02));
    HidapiBackend backend;
    EXPECT_EQ(backend.Open("sim:9:2"), nullptr);
    EXPECT_EQ(backend.Open("/dev/hidraw-none"), nullptr);

    std::unique_ptr<HidDevice> device = backend.Open("sim:1:2");
    ASSERT_NE(device, nullptr);
    std::u16string product;
    ASSERT_TRUE(device->ProductString(product));
    EXPECT_EQ(product, u"K2 \U0001F42D");

    std::uint8_t request[33] = {0x00, 0x10};
    EXPECT_EQ(device->Write(request, sizeof request), 33);
    std::uint8_t reply[65] = {};
    EXPECT_EQ(device->Read(reply, 33, 30), 33) << "at most the length asked for";
    EXPECT_EQ(reply[0], 0x10) << "no report id in front";
    EXPECT_EQ(reply[1], 0x00);
    EXPECT_EQ(std::string(reply + 4, reply + 8), "K2A1");
    EXPECT_EQ(device->Read(reply, 65, 1), 0) << "nothing more: the time runs out";

    cable.Unplug();
    EXPECT_EQ(device->Write(request, sizeof request), -1);
    EXPECT_EQ(device->Read(reply, 65, 1), -1);
    EXPECT_FALSE(device->ProductString(product));
    EXPECT_EQ(product, u"");
}

TEST_F(HidapiBackendTest, DeviceMayOutliveItsBackend) {
    mice.AddConnection(Entry(u"K2", 0, 0x0C02));
    std::unique_ptr<HidDevice> device;
    {
        HidapiBackend backend;
        device = backend.Open("sim:1:2");
    }
    ASSERT_NE(device, nullptr);
    std::uint8_t request[33] = {0x00, 0x10};
    EXPECT_EQ(device->Write(request, sizeof request), 33);
}

TEST_F(HidapiBackendTest, OnlyANodeThatRefusesThisUserIsAPermissionProblem) {
    TempDir dir;
    dir.Write("node", "");
    HidapiBackend backend;
    const struct {
        std::string path;
        HidOpenFailure expected;
    } cases[] = {
        {dir.File("hidraw-none").string(), HidOpenFailure::NotFound},
        {"", HidOpenFailure::NotFound},
        // It opens now: whatever made the open fail, it was not the node's permissions.
        {dir.File("node").string(), HidOpenFailure::Unknown},
        {dir.Path().string(), HidOpenFailure::Unknown},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(backend.WhyOpenFails(c.path), c.expected) << c.path;
    }
}

TEST_F(HidapiBackendTest, NodeRefusingReadAndWriteIsAPermissionProblem) {
    // The tests run as root, whom file modes do not stop; sysfs refuses even root a write open of
    // a file it only lets be read.
    const char* refusing = "/sys/kernel/notes";
    const int fd = ::open(refusing, O_RDWR | O_CLOEXEC);
    const int error = errno;
    if (fd >= 0) {
        ::close(fd);
    }
    if (fd >= 0 || (error != EACCES && error != EPERM)) {
        GTEST_SKIP() << refusing << " does not refuse a write open here";
    }
    HidapiBackend backend;
    EXPECT_EQ(backend.Open(refusing), nullptr);
    EXPECT_EQ(backend.WhyOpenFails(refusing), HidOpenFailure::PermissionDenied);
}

}  // namespace
