// The device manager over scripted HID devices: enumeration and identification, selection,
// the request/acknowledge exchange, notifications and link reports. Time is virtual, so the
// waits of failing exchanges cost nothing and can be checked exactly.

#include "device/transport/DeviceManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "device/transport/ScriptedHid.h"
#include "device/transport/Trace.h"

namespace {

constexpr std::uint16_t kVendor = 0x3E7A;
constexpr std::uint16_t kWired = 0x0C02;
constexpr std::uint16_t kDongle = 0x0C03;
constexpr std::uint16_t kPlainVendor = 0x1A2B;
constexpr std::uint16_t kPlainProduct = 0x00C3;

constexpr int kK2 = 1002;
constexpr int kK3 = 1003;
constexpr int kPlain = 1005;

// Two models sharing a wired and a receiver product id, told apart by their device ids, and one
// model whose catalogue entry has no device id.
std::vector<DeviceIdentity> Identities() {
    return {
        {kVendor, kWired, u"", kK2, 0, u"K2A1"},
        {kVendor, kDongle, u"", kK2, 1, u"K2A1"},
        {kVendor, kWired, u"", kK3, 0, u"K3A1"},
        {kVendor, kDongle, u"", kK3, 1, u"K3A1"},
        {kPlainVendor, kPlainProduct, u"", kPlain, 0, u""},
    };
}

// The reads that wait for an answer: the reads of what is already waiting on a handle before a
// request goes out (no time-out) are left out.
std::vector<ScriptedEvent> WaitingReads(const ScriptedHid& hid, const std::string& path) {
    std::vector<ScriptedEvent> found;
    for (const ScriptedEvent& read : hid.Reads(path)) {
        if (read.timeoutMs > 0) {
            found.push_back(read);
        }
    }
    return found;
}

// The first write at or after event `from`.
const ScriptedEvent* FirstWrite(const ScriptedHid& hid, std::size_t from) {
    for (std::size_t i = from; i < hid.events.size(); ++i) {
        if (hid.events[i].kind == ScriptedEvent::kWrite) {
            return &hid.events[i];
        }
    }
    return nullptr;
}

class DeviceManagerTest : public ::testing::Test {
protected:
    DeviceManagerTest() {
        manager.SetSleepFunction([this](int milliseconds) { hid.Sleep(milliseconds); });
    }

    // A command interface that answers as the model with `deviceId`.
    ScriptedDevice& AddMouse(const std::string& path, std::uint16_t productId,
                             const std::string& deviceId, Bytes extra = {}) {
        ScriptedDevice& device = hid.Add(path, kVendor, productId);
        device.answer = AnswersAs(deviceId, std::move(extra));
        return device;
    }

    void Rescan() { manager.Rescan(Identities()); }

    std::vector<OpenedDeviceSummary> Opened() {
        std::vector<OpenedDeviceSummary> list;
        manager.CollectOpened(list);
        return list;
    }

    // The path of the device a command goes to, or "" when none is selected.
    std::string CommandTarget() {
        const std::size_t before = hid.events.size();
        std::uint8_t buffer[65] = {0, 0x02, 0, 0x01, 0x01, 0x01};
        manager.SendCommand(buffer, 33);
        for (std::size_t i = before; i < hid.events.size(); ++i) {
            if (hid.events[i].kind == ScriptedEvent::kWrite) {
                return hid.events[i].path;
            }
        }
        return "";
    }

    ScriptedHid hid;
    DeviceManager manager{hid};
};

// Enumeration ------------------------------------------------------------------------------------

TEST_F(DeviceManagerTest, EnumerationKeepsOnlyTheCommandInterfaceOfRegisteredDevices) {
    ScriptedDevice& foreign = hid.Add("foreign", 0x1111, 0x2222);
    ScriptedDevice& keyboard = hid.Add("keyboard", kVendor, kWired, 0x0001, 0x0006);
    ScriptedDevice& loader = hid.Add("loader", kVendor, kWired, 0xFFEF, 0x0000);
    ScriptedDevice& broken = AddMouse("broken", kWired, "K2A1");
    broken.openable = false;
    ScriptedDevice& command = AddMouse("command", kWired, "K2A1");

    Rescan();

    EXPECT_EQ(foreign.opened, 0) << "a device of no registered model is not even opened";
    EXPECT_EQ(keyboard.opened, 1);
    EXPECT_EQ(keyboard.closed, 1);
    EXPECT_EQ(loader.closed, 1);
    EXPECT_TRUE(hid.Writes("keyboard").empty());
    EXPECT_EQ(command.opened, 1);
    EXPECT_EQ(command.closed, 0);
    const auto opened = Opened();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].productString, u"Scripted command");
    EXPECT_TRUE(manager.IsOpen());

    manager.SetCurrentDeviceType(kK2);
    ASSERT_NE(manager.SelectCurrent(), nullptr);
    manager.CloseAll();
    EXPECT_EQ(command.closed, 1);
    EXPECT_FALSE(manager.IsOpen());
    EXPECT_TRUE(Opened().empty());
    std::uint8_t reply[65] = {};
    EXPECT_EQ(manager.SelectCurrent(), nullptr) << "the selection went with the closed devices";
    EXPECT_FALSE(manager.QueryInfo(reply, nullptr));
}

TEST_F(DeviceManagerTest, ScanKeepsTheCommandInterfacesThisUserMayNotOpen) {
    // What a mouse whose nodes lack the udev rule looks like: every interface refuses.
    for (const std::string path : {"pointer", "command"}) {
        ScriptedDevice& device = path == "pointer" ? hid.Add(path, kVendor, kWired, 0x0001, 0x0002)
                                                   : AddMouse(path, kWired, "K2A1");
        device.openable = false;
        device.openFailure = HidOpenFailure::PermissionDenied;
    }
    // Failures that are no permission problem, and a device of no registered model, say nothing.
    ScriptedDevice& broken = AddMouse("broken", kDongle, "K2A1");
    broken.openable = false;
    ScriptedDevice& foreign = hid.Add("foreign", 0x1111, 0x2222);
    foreign.openable = false;
    foreign.openFailure = HidOpenFailure::PermissionDenied;

    Rescan();

    EXPECT_TRUE(Opened().empty());
    const std::vector<DeniedDevice> denied = manager.CollectDenied();
    ASSERT_EQ(denied.size(), 1u);
    EXPECT_EQ(denied[0].path, "command");
    EXPECT_EQ(denied[0].vendorId, kVendor);
    EXPECT_EQ(denied[0].productId, kWired);

    // Access given (the rule installed, the mouse plugged in again): the next scan opens it.
    hid.Device("command").openable = true;
    Rescan();
    EXPECT_EQ(Opened().size(), 1u);
    EXPECT_TRUE(manager.CollectDenied().empty());

    // Denied again, then pulled out: nothing is left to tell about.
    hid.Device("command").openable = false;
    Rescan();
    ASSERT_EQ(manager.CollectDenied().size(), 1u);
    hid.Remove("command");
    Rescan();
    EXPECT_TRUE(manager.CollectDenied().empty());
}

TEST(DeviceManagerInstance, IsOneManagerOverTheBackendSetAtStartUp) {
    static ScriptedHid hid;  // outlives the process-wide manager's last use
    hid.Add("wired", kVendor, kWired).answer = AnswersAs("K2A1");
    DeviceManager::SetInstanceBackend(&hid);
    DeviceManager& manager = DeviceManager::Instance();
    EXPECT_EQ(&manager, &DeviceManager::Instance());
    manager.Rescan(Identities());
    EXPECT_TRUE(manager.HasIdentifiedDevice(kK2));
    manager.CloseAll();
}

TEST_F(DeviceManagerTest, EachKeptDeviceIsIdentifiedFromItsInformationReply) {
    ScriptedDevice& dongle = AddMouse("dongle", kDongle, "K3A1");
    dongle.info.releaseNumber = 0x0107;
    dongle.productStringReadable = false;
    ScriptedDevice& wired = AddMouse("wired", kWired, "K2A1");
    wired.info.releaseNumber = 0x0203;
    hid.Add("plain", kPlainVendor, kPlainProduct).answer = AnswersAs("ZZZZ");
    AddMouse("stranger", kWired, "Q9Q9");

    Rescan();

    // The information request: 33 bytes, command 0x10, everything else (checksum too) zero.
    const auto writes = hid.Writes("wired");
    ASSERT_EQ(writes.size(), 1u);
    Bytes expected(33, 0);
    expected[1] = 0x10;
    EXPECT_EQ(writes[0].data, expected);

    const auto opened = Opened();
    ASSERT_EQ(opened.size(), 4u);
    struct Expect {
        int index;
        std::uint16_t productId;
        int type;
        int mode;
        std::u16string id;
        int release;
        std::u16string product;
    };
    const Expect expect[] = {
        {0, kDongle, kK3, 1, u"K3A1", 0x0107, u""},
        {1, kWired, kK2, 0, u"K2A1", 0x0203, u"Scripted wired"},
        {2, kPlainProduct, kDeviceTypeWithoutId, 0, u"ZZZZ", 0, u"Scripted plain"},
        {3, kWired, 0, 0, u"Q9Q9", 0, u"Scripted stranger"},
    };
    for (std::size_t i = 0; i < opened.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(opened[i].index, expect[i].index);
        EXPECT_EQ(opened[i].productId, expect[i].productId);
        EXPECT_EQ(opened[i].deviceType, expect[i].type);
        EXPECT_EQ(opened[i].mode, expect[i].mode);
        EXPECT_EQ(opened[i].deviceId, expect[i].id);
        EXPECT_EQ(opened[i].releaseNumber, expect[i].release);
        EXPECT_EQ(opened[i].productString, expect[i].product);
        EXPECT_EQ(opened[i].linkState, 1);
    }
}

TEST_F(DeviceManagerTest, DeviceIdBytesAreSignExtended) {
    ScriptedDevice& device = hid.Add("odd", kVendor, kWired);
    device.answer = [](const Bytes&) -> std::vector<Bytes> {
        return {Reply(0x00, {'K', 0x80, 0xFF, '1'})};
    };
    Rescan();
    const auto opened = Opened();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].deviceId, std::u16string(u"K\xFF80\xFFFF"
                                                 u"1"));
    EXPECT_EQ(opened[0].deviceType, 0);
}

TEST_F(DeviceManagerTest, SilentDeviceIsAskedTwice500MsApartAndStaysUnidentified) {
    hid.Add("silent", kVendor, kWired);
    Rescan();

    const auto writes = hid.Writes("silent");
    const auto reads = WaitingReads(hid, "silent");
    ASSERT_EQ(writes.size(), 2u);
    ASSERT_EQ(reads.size(), 100u);
    for (const ScriptedEvent& read : reads) {
        EXPECT_EQ(read.length, 33u);
        EXPECT_EQ(read.timeoutMs, 30);
    }
    EXPECT_EQ(hid.Sleeps(), std::vector<int>{500});
    EXPECT_EQ(writes[1].startMs, 50 * 30 + 500);

    const auto opened = Opened();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].deviceType, 0);
    EXPECT_EQ(opened[0].deviceId, u"");
    EXPECT_FALSE(manager.HasIdentifiedDevice(0));
}

TEST_F(DeviceManagerTest, DeviceAnsweringOnlyTheSecondQueryIsIdentified) {
    int queries = 0;
    hid.Add("slow", kVendor, kWired).answer = [&queries](const Bytes&) -> std::vector<Bytes> {
        if (++queries == 1) {
            return std::vector<Bytes>(60, Reply(0x01, {'K', '2', 'A', '1'}));
        }
        return {Reply(0x00, {'K', '2', 'A', '1'})};
    };
    Rescan();
    const auto opened = Opened();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].deviceType, kK2);
    EXPECT_EQ(hid.Sleeps(), std::vector<int>{500});
}

TEST_F(DeviceManagerTest, EnumerationTracesEveryStep) {
    std::vector<std::u16string> lines;
    SetTraceSink([&lines](std::u16string_view text) { lines.emplace_back(text); });
    hid.Add("keyboard", kVendor, kWired, 0x0001, 0x0006);
    AddMouse("dongle", kDongle, "K3A1");
    Rescan();
    SetTraceSink(nullptr);

    const std::vector<std::u16string> expected{
        u"EnumerateDevice!",
        u"EnumerateDevice UsagePage: 1, Usage: 6",
        u"EnumerateDevice UsagePage: 1, Usage: 0",
        u"Open hid Device Suc!",
        u"EnumerateDevice!, GetDeviceId: K3A1, GetDeviceType: 1003",
        u"EnumerateDevice vendor_id: 3E7A, product_id: C03, dev_type: 3eb, dev_mode: 1",
    };
    EXPECT_EQ(lines, expected);
}

// Selection -------------------------------------------------------------------------------------

TEST_F(DeviceManagerTest, SelectionPrefersTheWiredDeviceAndOnlyAnOnlineFirstReceiver) {
    struct Mouse {
        std::string path;
        std::uint16_t productId;
        std::string deviceId;  // "" for a device that never answers
    };
    struct Case {
        const char* what;
        std::vector<Mouse> mice;
        int currentType;
        bool receiversOffline;  // the receivers of the current model report no mouse
        std::string expected;
    };
    const Case cases[] = {
        {"wired before receiver, though enumerated second",
         {{"dongle", kDongle, "K2A1"}, {"wired", kWired, "K2A1"}},
         kK2,
         false,
         "wired"},
        {"receiver when there is no wired device",
         {{"wired-k3", kWired, "K3A1"}, {"dongle", kDongle, "K2A1"}},
         kK2,
         false,
         "dongle"},
        {"no receiver whose mouse is away",
         {{"dongle", kDongle, "K2A1"}, {"dongle2", kDongle, "K2A1"}},
         kK2,
         true,
         ""},
        {"a wired device does not depend on the link",
         {{"dongle", kDongle, "K2A1"}, {"wired", kWired, "K2A1"}},
         kK2,
         true,
         "wired"},
        {"type 0 selects an unidentified device",
         {{"k2", kWired, "K2A1"}, {"silent", kWired, ""}},
         0,
         false,
         "silent"},
        {"no device of the current model", {{"k2", kWired, "K2A1"}}, kK3, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedHid caseHid;
        DeviceManager caseManager(caseHid);
        caseManager.SetSleepFunction([&caseHid](int ms) { caseHid.Sleep(ms); });
        for (const Mouse& mouse : c.mice) {
            ScriptedDevice& device = caseHid.Add(mouse.path, kVendor, mouse.productId);
            if (!mouse.deviceId.empty()) {
                device.answer = AnswersAs(mouse.deviceId);
            }
        }
        caseManager.Rescan(Identities());
        caseManager.SetCurrentDeviceType(c.currentType);
        if (c.receiversOffline) {
            caseManager.SetLinkState(c.currentType, 1, 0);
        }
        const std::size_t before = caseHid.events.size();
        std::uint8_t buffer[65] = {0, 0x02};
        caseManager.SendCommand(buffer, 33);
        std::string target;
        for (std::size_t i = before; i < caseHid.events.size(); ++i) {
            if (caseHid.events[i].kind == ScriptedEvent::kWrite) {
                target = caseHid.events[i].path;
                break;
            }
        }
        EXPECT_EQ(target, c.expected);
        EXPECT_EQ(caseManager.SelectCurrent() != nullptr, !c.expected.empty());
    }
}

TEST_F(DeviceManagerTest, TypeWithoutDeviceIdSelectsTheDevicesOfItsPair) {
    hid.Add("plain", kPlainVendor, kPlainProduct).answer = AnswersAs("ANY!");
    Rescan();
    manager.SetCurrentDeviceType(kDeviceTypeWithoutId);
    EXPECT_EQ(CommandTarget(), "plain");
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    ASSERT_TRUE(manager.CurrentVidPid(vendorId, productId));
    EXPECT_EQ(vendorId, kPlainVendor);
    EXPECT_EQ(productId, kPlainProduct);
}

TEST_F(DeviceManagerTest, SelectionIsCachedUntilClearedOrTheModelChanges) {
    AddMouse("dongle", kDongle, "K2A1");
    Rescan();
    manager.SetCurrentDeviceType(kK2);
    EXPECT_EQ(CommandTarget(), "dongle");

    // The receiver losing its mouse does not drop a selection already made ...
    manager.SetLinkState(kK2, 1, 0);
    EXPECT_EQ(CommandTarget(), "dongle");
    manager.SetCurrentDeviceType(kK2);  // the same model: cache kept
    EXPECT_EQ(CommandTarget(), "dongle");
    // ... but every way of clearing the cache re-applies the rule.
    manager.ClearSelection();
    EXPECT_EQ(CommandTarget(), "");
    manager.SetLinkState(kK2, 1, 1);
    EXPECT_EQ(CommandTarget(), "dongle");
    manager.SetLinkState(kK2, 1, 0);
    manager.SetCurrentDeviceType(kK3);
    manager.SetCurrentDeviceType(kK2);
    EXPECT_EQ(CommandTarget(), "");
    manager.SetLinkState(kK2, 1, 1);
    EXPECT_EQ(CommandTarget(), "dongle");
    manager.SetLinkState(kK2, 1, 0);
    Rescan();  // fresh records are online again
    EXPECT_EQ(CommandTarget(), "dongle");
}

TEST_F(DeviceManagerTest, ConnectionModeOfTheCurrentModel) {
    AddMouse("k2-dongle", kDongle, "K2A1");
    AddMouse("k2-wired", kWired, "K2A1");
    AddMouse("k3-dongle", kDongle, "K3A1");
    hid.Add("silent", kVendor, kDongle);
    Rescan();
    struct Case {
        int currentType;
        int expected;
    };
    const Case cases[] = {{kK2, 0}, {kK3, 1}, {kPlain, -1}, {0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.currentType);
        manager.SetCurrentDeviceType(c.currentType);
        EXPECT_EQ(manager.ConnectionMode(), c.expected);
    }
}

TEST_F(DeviceManagerTest, DisplayAccessors) {
    AddMouse("k3-dongle", kDongle, "K3A1");
    ScriptedDevice& wired = AddMouse("k2-wired", kWired, "K2A1");
    wired.info.releaseNumber = 0x0105;
    hid.Add("silent", kVendor, kDongle);

    int release = -1;
    EXPECT_FALSE(manager.ReleaseNumberOfMode(0, release)) << "nothing before the first scan";
    Rescan();

    ASSERT_TRUE(manager.ReleaseNumberOfMode(0, release));
    EXPECT_EQ(release, 0x0105);
    EXPECT_TRUE(manager.ReleaseNumberOfMode(1, release));
    EXPECT_FALSE(manager.ReleaseNumberOfMode(2, release));

    EXPECT_TRUE(manager.HasIdentifiedDevice(kK3));
    EXPECT_FALSE(manager.HasIdentifiedDevice(0)) << "a silent device has no device id";
    manager.SetLinkState(kK3, 1, 0);
    EXPECT_FALSE(manager.HasIdentifiedDevice(kK3)) << "its receiver reports no mouse";

    std::vector<OpenedDeviceSummary> list(5);
    manager.CollectOpened(list);
    EXPECT_EQ(list.size(), 3u) << "type 0 collects every device";
    manager.CollectOnline(list);
    EXPECT_EQ(list.size(), 2u);
    manager.SetCurrentDeviceType(kK3);
    manager.CollectOpened(list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].deviceId, u"K3A1");
    manager.CollectOnline(list);
    EXPECT_TRUE(list.empty());
}

TEST_F(DeviceManagerTest, DisplayReadsAndModelChangesFromAnotherThreadDuringTheWorkersTraffic) {
    ScriptedDevice& dongle = AddMouse("dongle", kDongle, "K2A1");
    AddMouse("wired", kWired, "K3A1");
    std::atomic<bool> done{false};
    std::thread display([&] {
        std::vector<OpenedDeviceSummary> list;
        int release = 0;
        while (!done) {
            manager.CollectOpened(list);
            manager.CollectOnline(list);
            manager.ConnectionMode();
            manager.HasIdentifiedDevice(kK2);
            manager.ReleaseNumberOfMode(1, release);
            manager.IsRegistered(kVendor, kDongle);
            manager.SetCurrentDeviceType(list.size() % 2 == 0 ? kK2 : kK3);
            manager.ClearSelection();
        }
    });
    // The worker's side: scans, commands, link reports and polls (the scripted devices are used
    // by this thread only).
    for (int round = 0; round < 50; ++round) {
        Rescan();
        std::uint8_t buffer[65] = {0, 0x02, 0, 0x01, 0x01, 0x01};
        manager.SendCommand(buffer, 33);
        dongle.pending.push_back({0xC0, static_cast<std::uint8_t>(round % 2)});
        int type = 0;
        manager.ReadNotification(buffer, type, 0);
        manager.PollDongleLinks();
        manager.SetLinkState(kK2, 1, round % 3);
    }
    done = true;
    display.join();
    EXPECT_TRUE(manager.IsOpen());
}

// The request/acknowledge exchange --------------------------------------------------------------

TEST_F(DeviceManagerTest, ChecksumIsTheLowByteOfTheSumOfBytes5To31) {
    AddMouse("wired", kWired, "K2A1");
    Rescan();
    manager.SetCurrentDeviceType(kK2);
    struct Case {
        const char* what;
        std::vector<std::pair<int, std::uint8_t>> bytes;
        std::uint8_t expected;
    };
    std::vector<std::pair<int, std::uint8_t>> allFf;
    for (int i = 5; i < 32; ++i) {
        allFf.emplace_back(i, 0xFF);
    }
    const Case cases[] = {
        {"only byte 5", {{5, 0x08}}, 0x08},
        {"bytes 0 to 4 and 33 on do not count",
         {{0, 0x11}, {1, 0x22}, {2, 0x33}, {3, 0x44}, {4, 0x55}, {33, 0x66}, {64, 0x77}},
         0x00},
        {"a stale checksum is replaced", {{31, 0x01}, {32, 0xEE}}, 0x01},
        {"the sum wraps", allFf, static_cast<std::uint8_t>(27 * 0xFF)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::uint8_t buffer[65] = {};
        for (auto [index, value] : c.bytes) {
            buffer[index] = value;
        }
        const std::size_t before = hid.events.size();
        ASSERT_TRUE(manager.SendCommand(buffer, 65));
        const ScriptedEvent* write = FirstWrite(hid, before);
        ASSERT_NE(write, nullptr);
        EXPECT_EQ(write->data[32], c.expected);
        EXPECT_EQ(write->data.size(), 65u);
    }
}

TEST_F(DeviceManagerTest, AcknowledgementIsTheFirstReplyWithStatusZero) {
    ScriptedDevice& mouse = AddMouse("wired", kWired, "K2A1");
    Rescan();
    manager.SetCurrentDeviceType(kK2);
    mouse.answer = [](const Bytes&) -> std::vector<Bytes> {
        return {Bytes{0x00}, Reply(0x01), Reply(0x00, {0xAB}), Reply(0x00, {0xCD})};
    };
    hid.events.clear();
    // A request whose byte 1 is zero: a reply too short to overwrite it must not pass for an
    // acknowledgement.
    std::uint8_t buffer[65] = {0, 0x00, 0, 0x00, 0x00};
    EXPECT_TRUE(manager.SendCommand(buffer, 33));
    const auto reads = WaitingReads(hid, "wired");
    ASSERT_EQ(reads.size(), 3u) << "a one-byte reply carries no status";
    EXPECT_EQ(reads[0].length, 33u);
    EXPECT_EQ(reads[0].timeoutMs, 30);
    EXPECT_EQ(buffer[4], 0xAB);
}

TEST_F(DeviceManagerTest, RefusalsAreRead50TimesAndTheLastOneIsHandedBack) {
    ScriptedDevice& mouse = AddMouse("wired", kWired, "K2A1");
    Rescan();
    manager.SetCurrentDeviceType(kK2);
    mouse.answer = [](const Bytes&) {
        std::vector<Bytes> refusals;
        for (std::uint8_t i = 0; i < 60; ++i) {
            refusals.push_back(Reply(0x01, {i}, 65));
        }
        return refusals;
    };
    hid.events.clear();
    std::uint8_t buffer[65] = {0, 0x02, 0, 0x01, 0x01, 0x08};
    EXPECT_FALSE(manager.SendCommand(buffer, 65));
    const auto reads = WaitingReads(hid, "wired");
    ASSERT_EQ(reads.size(), 50u);
    EXPECT_EQ(reads.back().length, 65u);
    EXPECT_EQ(buffer[1], 0x01);
    EXPECT_EQ(buffer[4], 49) << "the buffer holds the last reply read";
}

TEST_F(DeviceManagerTest, LostAcknowledgementCosts50ReadsOf30Ms) {
    ScriptedDevice& mouse = AddMouse("wired", kWired, "K2A1");
    Rescan();
    manager.SetCurrentDeviceType(kK2);
    mouse.answer = nullptr;
    const long long start = hid.now;
    hid.events.clear();
    std::uint8_t buffer[65] = {0, 0x09, 0, 0x01, 0x02, 0x03, 0x04};
    EXPECT_FALSE(manager.SendCommand(buffer, 33));
    EXPECT_EQ(WaitingReads(hid, "wired").size(), 50u);
    EXPECT_EQ(hid.now - start, 50 * 30);
    EXPECT_EQ(buffer[1], 0x09) << "without a reply the request stays in the buffer";
    EXPECT_EQ(buffer[32], 0x07);
}

TEST_F(DeviceManagerTest, FailuresThatEndTheExchangeAtOnce) {
    struct Case {
        const char* what;
        bool open;
        int currentType;
        int failingWrites;
        bool unplugged;
        std::size_t length;
        std::size_t expectedWrites;
        std::size_t expectedReads;
    };
    const Case cases[] = {
        {"before the first scan", false, kK2, 0, false, 33, 0, 0},
        {"no device of the current model", true, kK3, 0, false, 33, 0, 0},
        {"the write fails", true, kK2, 1, false, 33, 1, 0},
        {"unplugged", true, kK2, 0, true, 33, 1, 0},
        {"a length beyond the buffer", true, kK2, 0, false, 66, 0, 0},
        {"an empty report", true, kK2, 0, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedHid caseHid;
        DeviceManager caseManager(caseHid);
        caseManager.SetSleepFunction([&caseHid](int ms) { caseHid.Sleep(ms); });
        ScriptedDevice& mouse = caseHid.Add("wired", kVendor, kWired);
        mouse.answer = AnswersAs("K2A1");
        if (c.open) {
            caseManager.Rescan(Identities());
        }
        caseManager.SetCurrentDeviceType(c.currentType);
        mouse.failingWrites = c.failingWrites;
        mouse.unplugged = c.unplugged;
        caseHid.events.clear();
        std::uint8_t buffer[65] = {0, 0x02, 0, 0x01, 0x01, 0x01};
        EXPECT_FALSE(caseManager.SendCommand(buffer, c.length));
        EXPECT_EQ(caseHid.Writes("wired").size(), c.expectedWrites);
        EXPECT_EQ(WaitingReads(caseHid, "wired").size(), c.expectedReads);
    }
}

TEST_F(DeviceManagerTest, UnplugDuringTheWaitEndsItAtTheFirstFailedRead) {
    ScriptedDevice& mouse = AddMouse("wired", kWired, "K2A1");
    Rescan();
    manager.SetCurrentDeviceType(kK2);
    mouse.answer = [&mouse](const Bytes&) -> std::vector<Bytes> {
        mouse.unplugged = true;
        return {};
    };
    hid.events.clear();
    std::uint8_t buffer[65] = {0, 0x02};
    EXPECT_FALSE(manager.SendCommand(buffer, 33));
    EXPECT_EQ(WaitingReads(hid, "wired").size(), 1u);
}

// A notification's byte 1 is no status: a DPI report with byte 1 = 0 or a link report that comes
// while a request waits is neither its acknowledgement nor lost.
TEST_F(DeviceManagerTest, NotificationsDuringTheWaitAreKeptInOrderForTheWorker) {
    struct Case {
        const char* what;
        std::vector<Bytes> answers;
        bool acknowledged;
    };
    const Bytes stage = {0xC2, 0x00};
    const Bytes link = {0xC0, 0x00, 0x00, 0x00};
    const Case cases[] = {
        {"before a refusal and the acknowledgement",
         {stage, link, Reply(0x01), Reply(0x00, {0xAB})},
         true},
        {"and no reply at all", {stage, link}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedHid caseHid;
        DeviceManager caseManager(caseHid);
        caseManager.SetSleepFunction([&caseHid](int ms) { caseHid.Sleep(ms); });
        ScriptedDevice& mouse = caseHid.Add("wired", kVendor, kWired);
        mouse.answer = AnswersAs("K2A1");
        caseManager.Rescan(Identities());
        caseManager.SetCurrentDeviceType(kK2);
        mouse.answer = [&c](const Bytes&) { return c.answers; };
        std::uint8_t buffer[65] = {0, 0x02, 0, 0x01, 0x01, 0x01};
        EXPECT_EQ(caseManager.SendCommand(buffer, 33), c.acknowledged);
        if (c.acknowledged) {
            EXPECT_EQ(buffer[4], 0xAB);
        }
        const std::size_t readsBefore = caseHid.Reads("wired").size();
        std::uint8_t report[65] = {};
        int type = 0;
        ASSERT_TRUE(caseManager.ReadNotification(report, type));
        EXPECT_EQ(report[0], 0xC2);
        EXPECT_EQ(type, kK2);
        ASSERT_TRUE(caseManager.ReadNotification(report, type));
        EXPECT_EQ(report[0], 0xC0);
        EXPECT_EQ(caseHid.Reads("wired").size(), readsBefore) << "kept reports are not read again";
    }
}

TEST_F(DeviceManagerTest, LateReplyWaitingBeforeARequestIsNotItsAnswer) {
    ScriptedDevice& mouse = AddMouse("wired", kWired, "K2A1");
    Rescan();
    manager.SetCurrentDeviceType(kK2);
    // The answer to an earlier request that gave up waiting, and a DPI report after it; this
    // request is refused.
    mouse.pending.push_back(Reply(0x00, {0x11}));
    mouse.pending.push_back({0xC2, 0x13});
    mouse.answer = [](const Bytes&) -> std::vector<Bytes> { return {Reply(0x01)}; };
    std::vector<std::u16string> traces;
    SetTraceSink([&traces](std::u16string_view text) { traces.emplace_back(text); });
    hid.events.clear();
    std::uint8_t buffer[65] = {0, 0x02, 0, 0x01, 0x01, 0x01};
    EXPECT_FALSE(manager.SendCommand(buffer, 33));
    SetTraceSink(nullptr);
    ASSERT_GE(hid.events.size(), 3u);
    EXPECT_EQ(hid.events[0].kind, ScriptedEvent::kRead);
    EXPECT_EQ(hid.events[0].timeoutMs, 0) << "what waits is read before the request goes out";
    EXPECT_EQ(std::count(traces.begin(), traces.end(), u"stale reply dropped: 00 00 00 00"), 1);
    std::uint8_t report[65] = {};
    int type = 0;
    ASSERT_TRUE(manager.ReadNotification(report, type));
    EXPECT_EQ(report[0], 0xC2);
    EXPECT_EQ(report[1], 0x13);
}

TEST_F(DeviceManagerTest, LinkReportDuringIdentificationIsNotTheInformationReply) {
    ScriptedDevice& dongle = hid.Add("dongle", kVendor, kDongle);
    dongle.answer = [](const Bytes& written) -> std::vector<Bytes> {
        std::vector<Bytes> replies = {{0xC0, 0x00, 0x00, 0x00}};
        for (const Bytes& reply : AnswersAs("K2A1")(written)) {
            replies.push_back(reply);
        }
        return replies;
    };
    Rescan();
    const auto opened = Opened();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].deviceId, u"K2A1");
    EXPECT_EQ(opened[0].deviceType, kK2);
}

TEST_F(DeviceManagerTest, QueryInfoWithoutHandleGivesTheSelectedDevicesStoredReply) {
    AddMouse("wired", kWired, "K2A1", {0, 0, 25, 0x40});
    Rescan();
    std::uint8_t reply[65] = {};
    manager.SetCurrentDeviceType(kK3);
    EXPECT_FALSE(manager.QueryInfo(reply, nullptr));
    manager.SetCurrentDeviceType(kK2);
    hid.events.clear();
    ASSERT_TRUE(manager.QueryInfo(reply, nullptr));
    EXPECT_TRUE(hid.events.empty()) << "nothing is asked of the device";
    EXPECT_EQ(reply[4], 'K');
    EXPECT_EQ(reply[10], 25);
    EXPECT_EQ(reply[11], 0x40);
}

// Notifications and link reports ----------------------------------------------------------------

TEST_F(DeviceManagerTest, NotificationOfTheSelectedDevice) {
    ScriptedDevice& mouse = AddMouse("wired", kWired, "K2A1");
    AddMouse("dongle", kDongle, "K2A1");
    std::uint8_t buffer[65] = {};
    int type = -1;
    manager.SetCurrentDeviceType(kK2);
    EXPECT_FALSE(manager.ReadNotification(buffer, type)) << "nothing before the first scan";
    EXPECT_EQ(type, kK2);
    Rescan();
    hid.events.clear();

    mouse.pending.push_back({0xC2, 0x26});
    EXPECT_TRUE(manager.ReadNotification(buffer, type));
    EXPECT_EQ(type, kK2);
    EXPECT_EQ(buffer[0], 0xC2);
    EXPECT_EQ(buffer[1], 0x26);
    EXPECT_FALSE(manager.ReadNotification(buffer, type, 10));
    const auto reads = hid.Reads("wired");
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[0].length, 65u);
    EXPECT_EQ(reads[0].timeoutMs, 100);
    EXPECT_EQ(reads[1].timeoutMs, 10);
    EXPECT_TRUE(hid.Reads("dongle").empty()) << "receivers are not read while a device is selected";
}

TEST_F(DeviceManagerTest, WithoutSelectionEveryReceiverIsListenedTo) {
    AddMouse("wired", kWired, "K3A1");
    AddMouse("dongle-k2", kDongle, "K2A1");
    ScriptedDevice& k3 = AddMouse("dongle-k3", kDongle, "K3A1");
    Rescan();
    manager.SetCurrentDeviceType(kK2);
    manager.SetLinkState(kK2, 1, 0);  // the current model's receiver has no mouse: no selection
    hid.events.clear();

    k3.pending.push_back({0xC2, 0x13});
    std::uint8_t buffer[65];
    std::fill(std::begin(buffer), std::end(buffer), 0xEE);
    int type = -1;
    ASSERT_TRUE(manager.ReadNotification(buffer, type));
    EXPECT_EQ(type, kK3);
    EXPECT_EQ(buffer[0], 0xC2);
    EXPECT_EQ(buffer[2], 0x00) << "the whole 65-byte reply is copied";
    EXPECT_EQ(buffer[64], 0x00);
    EXPECT_TRUE(hid.Reads("wired").empty());
    const auto reads = hid.Reads("dongle-k2");
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].length, 33u);
    EXPECT_EQ(reads[0].timeoutMs, 10);

    EXPECT_FALSE(manager.ReadNotification(buffer, type));
    EXPECT_EQ(type, kK2);
}

TEST_F(DeviceManagerTest, LinkReportsOfAReceiver) {
    ScriptedDevice& first = AddMouse("dongle", kDongle, "K2A1");
    AddMouse("dongle2", kDongle, "K2A1");
    Rescan();
    manager.SetCurrentDeviceType(kK3);  // no device of this model: no selection
    std::uint8_t buffer[65] = {};
    int type = -1;

    first.pending.push_back({0xC0, 0x00, 0x50, 0x01});
    ASSERT_TRUE(manager.ReadNotification(buffer, type));
    EXPECT_EQ(type, kK2);
    EXPECT_EQ(buffer[2], 0x50);
    manager.SetCurrentDeviceType(0);
    std::vector<OpenedDeviceSummary> online;
    manager.CollectOnline(online);
    EXPECT_TRUE(online.empty()) << "the link state spreads to the same model and mode";

    // The mouse comes back as another model: the receiver is asked again who it is.
    first.answer = AnswersAs("K3A1");
    first.pending.push_back({0xC0, 0x01, 0x50, 0x01});
    manager.SetCurrentDeviceType(kK3);
    hid.events.clear();
    ASSERT_TRUE(manager.ReadNotification(buffer, type));
    EXPECT_EQ(type, kK3);
    EXPECT_EQ(hid.Writes("dongle").size(), 1u);
    EXPECT_EQ(hid.Writes("dongle")[0].data[1], 0x10);
    EXPECT_TRUE(manager.HasIdentifiedDevice(kK3));
    EXPECT_FALSE(manager.HasIdentifiedDevice(kK2)) << "the second receiver stays offline";
}

TEST_F(DeviceManagerTest, PollingReadsOnlyTheReceiversOfTheCurrentModel) {
    ScriptedDevice& k2 = AddMouse("dongle-k2", kDongle, "K2A1");
    ScriptedDevice& k3 = AddMouse("dongle-k3", kDongle, "K3A1");
    AddMouse("wired-k2", kWired, "K2A1");
    Rescan();
    manager.SetCurrentDeviceType(kK2);
    hid.events.clear();

    struct Step {
        Bytes report;
        int expected;
    };
    const Step steps[] = {
        {{0xC0, 0x02}, 2},
        {{0xC0, 0x01}, 1},
        {{0xC0, 0x00}, 2},
        {{0xC2, 0x00}, 2},  // not a link report: ignored
    };
    for (const Step& step : steps) {
        k2.pending.push_back(step.report);
        k3.pending.push_back({0xC0, 0x00});
        manager.PollDongleLinks();
        manager.SetCurrentDeviceType(0);
        std::vector<OpenedDeviceSummary> list;
        manager.CollectOpened(list);
        manager.SetCurrentDeviceType(kK2);
        ASSERT_EQ(list.size(), 3u);
        EXPECT_EQ(list[0].linkState, step.expected);
        EXPECT_EQ(list[1].linkState, 1) << "another model's receiver is not read";
    }
    EXPECT_EQ(hid.Reads("dongle-k3").size(), 0u);
    EXPECT_EQ(hid.Reads("wired-k2").size(), 0u);
    const auto reads = hid.Reads("dongle-k2");
    ASSERT_FALSE(reads.empty());
    EXPECT_EQ(reads[0].length, 33u);
    EXPECT_EQ(reads[0].timeoutMs, 10);
}

// Firmware-update interface ---------------------------------------------------------------------

TEST_F(DeviceManagerTest, UpdateInterfaceIsTheVendorCollectionOfTheSameIds) {
    hid.Add("other-loader", kVendor, kDongle, 0xFFEF, 0x0000);
    hid.Add("command", kVendor, kWired, 0x0001, 0x0000);
    hid.Add("vendor-1", kVendor, kWired, 0xFFEF, 0x0001);
    hid.Add("loader", kVendor, kWired, 0xFFEF, 0x0000);
    std::uint8_t report[64] = {0x05, 0x02};
    EXPECT_FALSE(manager.UpdateExchange(report)) << "no update interface yet";
    ASSERT_NE(manager.OpenUpdateInterface(kVendor, kWired), nullptr);
    EXPECT_TRUE(manager.UpdateExchange(report));
    EXPECT_EQ(hid.Writes("loader").size(), 1u);
    EXPECT_TRUE(hid.Reads("loader").empty()) << "an accepted write is never followed by a read";
    EXPECT_EQ(hid.Writes("loader")[0].data.size(), 64u);

    manager.CloseUpdateInterface();
    EXPECT_EQ(hid.Device("loader").closed, 1);
    EXPECT_EQ(manager.OpenUpdateInterface(kPlainVendor, kPlainProduct), nullptr);
}

TEST_F(DeviceManagerTest, RefusedUpdateWriteIsOfferedAgainAndTheAnswerDecides) {
    ScriptedDevice& loader = hid.Add("loader", kVendor, kWired, 0xFFEF, 0x0000);
    ASSERT_NE(manager.OpenUpdateInterface(kVendor, kWired), nullptr);
    std::uint8_t report[64] = {0x05, 0x02, 0x3C};

    struct Case {
        const char* what;
        bool answers;
        bool expected;
    };
    const Case cases[] = {{"an answer", true, true}, {"silence", false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hid.events.clear();
        loader.failingWrites = 1;
        if (c.answers) {
            loader.pending.push_back({0x05, 0x00});
        }
        EXPECT_EQ(manager.UpdateExchange(report), c.expected);
        ASSERT_EQ(hid.events.size(), 5u);
        EXPECT_EQ(hid.events[0].kind, ScriptedEvent::kWrite);
        EXPECT_EQ(hid.events[1].kind, ScriptedEvent::kSleep);
        EXPECT_EQ(hid.events[1].timeoutMs, 3);
        EXPECT_EQ(hid.events[2].kind, ScriptedEvent::kWrite);
        EXPECT_EQ(hid.events[3].kind, ScriptedEvent::kSleep);
        EXPECT_EQ(hid.events[3].timeoutMs, 5);
        EXPECT_EQ(hid.events[4].kind, ScriptedEvent::kRead);
        EXPECT_EQ(hid.events[4].length, 64u);
        EXPECT_EQ(hid.events[4].timeoutMs, 1000);
    }
}

}  // namespace
