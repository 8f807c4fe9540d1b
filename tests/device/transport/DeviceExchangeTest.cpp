// The device manager against virtual mice: which device is selected, the request/acknowledge
// exchange with the faults a real mouse shows, notifications and link reports, and firmware
// transfers checked by the virtual loader. Compiled into device_tests (virtual mice directly) and
// hidapi_tests (through HidapiBackend and the hidapi test double); see ExchangeBackend.h.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "device/protocol/FirmwareReports.h"
#include "device/protocol/FirmwareTransfer.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/ExchangeBackend.h"
#include "device/transport/HidTrafficLog.h"
#include "sim/VirtualHidBackend.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kVendor = 0x3E7A;
constexpr std::uint16_t kCablePid = 0x0C02;
constexpr std::uint16_t kReceiverPid = 0x0C03;

DeviceEntry Entry(std::u16string name, int type, int mode, std::uint32_t vendorId,
                  std::uint32_t productId, std::u16string deviceId) {
    DeviceEntry entry;
    entry.name = std::move(name);
    entry.deviceType = type;
    entry.mode = mode;
    entry.vendorId = vendorId;
    entry.productId = productId;
    entry.deviceId = std::move(deviceId);
    return entry;
}

const DeviceEntry kK2Cable = Entry(u"K2", 1002, 0, kVendor, kCablePid, u"K2A1");
const DeviceEntry kK2Receiver = Entry(u"K2", 1002, 1, kVendor, kReceiverPid, u"K2A1");
const DeviceEntry kK3Cable = Entry(u"K3", 1003, 0, kVendor, kCablePid, u"K3A1");
const DeviceEntry kK3Receiver = Entry(u"K3", 1003, 1, kVendor, kReceiverPid, u"K3A1");
const DeviceEntry kPlain = Entry(u"Plain", 1005, 0, 0x1A2B, 0x00C3, u"");
// A mouse on a registered pair whose device id no model has.
const DeviceEntry kStranger = Entry(u"Stranger", 0, 0, kVendor, kCablePid, u"Q9Q9");

std::vector<DeviceIdentity> Identities() {
    std::vector<DeviceIdentity> identities;
    for (const DeviceEntry* entry : {&kK2Cable, &kK2Receiver, &kK3Cable, &kK3Receiver, &kPlain}) {
        identities.push_back({entry->vendorId, entry->productId, u"", entry->deviceType,
                              entry->mode, entry->deviceId});
    }
    return identities;
}

class DeviceExchangeTest : public ::testing::Test {
protected:
    DeviceExchangeTest() : backend(MakeExchangeBackend(mice)), manager(*backend) {
        // Pauses are counted, not waited: what is tested here is what goes over the wire.
        manager.SetSleepFunction([this](int milliseconds) { pauses.push_back(milliseconds); });
    }

    void Rescan() { manager.Rescan(Identities()); }

    // Sends the 125 Hz report-rate request; true when acknowledged.
    bool SendReportRate(std::uint8_t* buffer = nullptr) {
        std::uint8_t request[65] = {0x00, 0x02, 0x00, 0x01, 0x01, 0x08};
        const bool sent = manager.SendCommand(request, 65);
        if (buffer != nullptr) {
            std::copy(std::begin(request), std::end(request), buffer);
        }
        return sent;
    }

    // Numbers of the connections whose mouse received a report-rate request.
    std::vector<int> ReportRateReceivers() {
        std::vector<int> numbers;
        for (sim::VirtualConnection* connection : mice.Connections()) {
            if (connection->CommandLog().Count(0x02) > 0) {
                numbers.push_back(connection->Number());
            }
        }
        return numbers;
    }

    sim::VirtualHidBackend mice;
    std::unique_ptr<HidBackend> backend;
    DeviceManager manager;
    std::vector<int> pauses;
};

// Enumeration and selection ---------------------------------------------------------------------

TEST_F(DeviceExchangeTest, OnlyTheCommandInterfaceOfEachDeviceIsKept) {
    mice.AddConnection(kK2Cable);
    mice.AddConnection(kK3Receiver);
    mice.AddConnection(kStranger);
    Rescan();

    std::vector<OpenedDeviceSummary> opened;
    manager.CollectOpened(opened);
    ASSERT_EQ(opened.size(), 3u) << "one of the three interfaces of each device";
    EXPECT_EQ(opened[0].deviceType, 1002);
    EXPECT_EQ(opened[0].mode, 0);
    EXPECT_EQ(opened[0].deviceId, u"K2A1");
    EXPECT_EQ(opened[0].productString, u"K2");
    EXPECT_EQ(opened[0].releaseNumber, 0x0103);
    EXPECT_EQ(opened[1].deviceType, 1003);
    EXPECT_EQ(opened[1].mode, 1);
    EXPECT_EQ(opened[1].productString, u"2.4G Wireless Receiver");
    EXPECT_EQ(opened[1].releaseNumber, 0x0101);
    EXPECT_EQ(opened[2].deviceType, 0);
    EXPECT_EQ(opened[2].deviceId, u"Q9Q9");
    EXPECT_TRUE(pauses.empty()) << "every device answered the first information request";
}

TEST_F(DeviceExchangeTest, SelectionAcrossSeveralDevices) {
    struct Case {
        const char* what;
        std::vector<DeviceEntry> devices;
        int currentType;
        bool firstReceiverLosesItsMouse;
        std::vector<int> expected;  // connection numbers that got the request
    };
    const Case cases[] = {
        {"the cable wins though enumerated second", {kK2Receiver, kK2Cable}, 1002, false, {2}},
        {"the receiver when the cable is another model's",
         {kK3Cable, kK2Receiver},
         1002,
         false,
         {2}},
        {"no receiver whose mouse is away", {kK2Receiver, kK2Receiver}, 1002, true, {}},
        {"type 0 reaches the unidentified mouse", {kK2Cable, kStranger}, 0, false, {2}},
        {"type 101 for a model without device id", {kPlain}, kDeviceTypeWithoutId, false, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::VirtualHidBackend caseMice;
        caseMice.SetTimeScale(0.05);
        std::unique_ptr<HidBackend> caseBackend = MakeExchangeBackend(caseMice);
        DeviceManager caseManager(*caseBackend);
        caseManager.SetSleepFunction([](int) {});
        for (const DeviceEntry& entry : c.devices) {
            caseMice.AddConnection(entry);
        }
        caseManager.Rescan(Identities());
        if (c.firstReceiverLosesItsMouse) {
            // Listen to the receivers (nothing selected) while the first one's mouse goes away.
            caseManager.SetCurrentDeviceType(-1);
            caseMice.Connection(1)->Receiver()->Unlink();
            std::uint8_t report[65] = {};
            int type = 0;
            ASSERT_TRUE(caseManager.ReadNotification(report, type));
            EXPECT_EQ(report[0], 0xC0);
        }
        caseManager.SetCurrentDeviceType(c.currentType);
        std::uint8_t request[65] = {0x00, 0x02, 0x00, 0x01, 0x01, 0x08};
        EXPECT_EQ(caseManager.SendCommand(request, 65), !c.expected.empty());
        std::vector<int> reached;
        for (sim::VirtualConnection* connection : caseMice.Connections()) {
            if (connection->CommandLog().Count(0x02) > 0) {
                reached.push_back(connection->Number());
            }
        }
        EXPECT_EQ(reached, c.expected);
        if (c.expected.empty()) {
            continue;
        }
        std::uint16_t vendorId = 0;
        std::uint16_t productId = 0;
        ASSERT_TRUE(caseManager.CurrentVidPid(vendorId, productId));
        EXPECT_EQ(productId, caseMice.Connection(c.expected[0])->Setup().productId);
    }
}

// The request/acknowledge exchange --------------------------------------------------------------

TEST_F(DeviceExchangeTest, TheMouseAcceptsTheChecksumOfThePayload) {
    sim::VirtualConnection& cable = mice.AddConnection(kK2Cable);
    Rescan();
    manager.SetCurrentDeviceType(1002);
    std::uint8_t reply[65] = {};
    ASSERT_TRUE(SendReportRate(reply));
    EXPECT_EQ(reply[0], 0x02) << "the reply names the command it answers";
    EXPECT_EQ(reply[1], 0x00);
    const auto requests = cable.CommandLog().All();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().writeLength, 65u);
    EXPECT_EQ(requests.back().bytes[32], 0x08) << "only byte 5 = 0x08: checksum 0x08";
    EXPECT_EQ(cable.Mouse().Requests().Count(0x02), 1u);
}

TEST_F(DeviceExchangeTest, RefusedRequestFailsWithTheRefusalInTheBuffer) {
    mice.SetTimeScale(0.05);
    sim::VirtualConnection& cable = mice.AddConnection(kK2Cable);
    Rescan();
    manager.SetCurrentDeviceType(1002);
    cable.Faults().RefuseRequests(1);
    std::uint8_t reply[65] = {};
    EXPECT_FALSE(SendReportRate(reply));
    EXPECT_EQ(reply[0], 0x02);
    EXPECT_EQ(reply[1], 0x01) << "the last reply read stays in the buffer";
    EXPECT_EQ(cable.Mouse().Requests().Count(0x02), 0u) << "a refused request changes nothing";
    EXPECT_TRUE(SendReportRate()) << "the next request goes through";
}

TEST_F(DeviceExchangeTest, FaultsEndInTheFailurePath) {
    struct Case {
        const char* what;
        void (*inject)(sim::VirtualConnection&);
        bool recovers;  // the next request succeeds
    };
    const Case cases[] = {
        {"a lost acknowledgement",
         [](sim::VirtualConnection& c) { c.Faults().LoseAcknowledgements(1); }, true},
        {"random garbage is never taken for an acknowledgement",
         [](sim::VirtualConnection& c) {
             c.Faults().GarbleReplies(1, sim::GarbageKind::RandomBytes);
         },
         true},
        {"a one-byte reply carries no status",
         [](sim::VirtualConnection& c) {
             c.Faults().GarbleReplies(1, sim::GarbageKind::Truncated);
         },
         true},
        {"unplugged", [](sim::VirtualConnection& c) { c.Unplug(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::VirtualHidBackend caseMice;
        caseMice.SetTimeScale(0.05);
        std::unique_ptr<HidBackend> caseBackend = MakeExchangeBackend(caseMice);
        DeviceManager caseManager(*caseBackend);
        sim::VirtualConnection& cable = caseMice.AddConnection(kK2Cable);
        caseManager.Rescan(Identities());
        caseManager.SetCurrentDeviceType(1002);
        c.inject(cable);
        std::uint8_t request[65] = {0x00, 0x02, 0x00, 0x01, 0x01, 0x08};
        EXPECT_FALSE(caseManager.SendCommand(request, 65));
        std::uint8_t again[65] = {0x00, 0x02, 0x00, 0x01, 0x01, 0x04};
        EXPECT_EQ(caseManager.SendCommand(again, 65), c.recovers);
    }
}

TEST_F(DeviceExchangeTest, SlowReplyWithinTheWaitIsAccepted) {
    sim::VirtualConnection& cable = mice.AddConnection(kK2Cable);
    Rescan();
    manager.SetCurrentDeviceType(1002);
    cable.Faults().DelayReplies(std::chrono::milliseconds(70));
    EXPECT_TRUE(SendReportRate());
}

TEST_F(DeviceExchangeTest, ReportsThatAreNoAnswerToTheRequestAreNotItsAcknowledgement) {
    sim::VirtualConnection& cable = mice.AddConnection(kK2Cable);
    Rescan();
    manager.SetCurrentDeviceType(1002);
    // Failing waits cost a hundredth of their time.
    mice.SetTimeScale(0.01);

    // A DPI report whose byte 1 is zero arrives while a refused request waits.
    cable.Faults().RefuseRequests(1);
    cable.Faults().NotifyDuringNextReplies(sim::MakeUnaskedReport(0xC2, {0x00}), 1);
    EXPECT_FALSE(SendReportRate());
    std::uint8_t report[65] = {};
    int type = 0;
    ASSERT_TRUE(manager.ReadNotification(report, type));
    EXPECT_EQ(report[0], 0xC2);

    // The acknowledgement of a request that gave up waiting comes late; the next request is
    // refused and must not take it for its own.
    const std::chrono::milliseconds wait(ExchangeReadsAreScaled() ? 15 : 1500);
    cable.Faults().DelayNextReplies(1, wait + std::chrono::milliseconds(50));
    EXPECT_FALSE(SendReportRate());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    cable.Faults().RefuseRequests(1);
    EXPECT_FALSE(SendReportRate());
    EXPECT_TRUE(SendReportRate()) << "the exchange works again at once";
}

TEST_F(DeviceExchangeTest, UnpluggedDeviceStaysListedUntilTheNextScan) {
    sim::VirtualConnection& cable = mice.AddConnection(kK2Cable);
    Rescan();
    manager.SetCurrentDeviceType(1002);
    cable.Unplug();
    std::uint8_t info[65] = {};
    EXPECT_TRUE(manager.QueryInfo(info, nullptr)) << "the stored reply is still there";
    EXPECT_EQ(info[4], 'K');
    EXPECT_FALSE(SendReportRate());
    EXPECT_EQ(manager.ConnectionMode(), 0);
    Rescan();
    EXPECT_EQ(manager.ConnectionMode(), -1);
    cable.Plug();
    Rescan();
    EXPECT_TRUE(SendReportRate());
}

// Notifications and link reports ----------------------------------------------------------------

TEST_F(DeviceExchangeTest, StageChangedOnTheMouse) {
    sim::VirtualConnection& cable = mice.AddConnection(kK2Cable);
    Rescan();
    manager.SetCurrentDeviceType(1002);
    std::uint8_t report[65] = {};
    int type = 0;
    EXPECT_FALSE(manager.ReadNotification(report, type, 10));
    cable.Mouse().PressDpiButton();
    ASSERT_TRUE(manager.ReadNotification(report, type));
    EXPECT_EQ(type, 1002);
    EXPECT_EQ(report[0], 0xC2);
    const auto dpi = cable.Mouse().Settings().dpi;
    EXPECT_EQ(report[1], (dpi.selected << 4) | dpi.count);
}

TEST_F(DeviceExchangeTest, ReceiverReportsItsMouseComingAndGoing) {
    mice.SetTimeScale(0.05);
    sim::VirtualConnection& receiver = mice.AddConnection(kK2Receiver);
    mice.AddConnection(kK3Cable);
    Rescan();
    manager.SetCurrentDeviceType(-1);  // nothing selected: the receivers are listened to
    std::uint8_t report[65] = {};
    int type = 0;

    receiver.Receiver()->Unlink();
    ASSERT_TRUE(manager.ReadNotification(report, type));
    EXPECT_EQ(type, 1002);
    EXPECT_EQ(report[0], 0xC0);
    EXPECT_EQ(report[1], 0x00);
    EXPECT_FALSE(manager.HasIdentifiedDevice(1002));

    const std::size_t queries = receiver.CommandLog().Count(0x10);
    receiver.Receiver()->Link();
    ASSERT_TRUE(manager.ReadNotification(report, type));
    EXPECT_EQ(report[1], 0x01);
    EXPECT_EQ(receiver.CommandLog().Count(0x10), queries + 1) << "asked again who it is";
    EXPECT_TRUE(manager.HasIdentifiedDevice(1002));
    EXPECT_FALSE(manager.ReadNotification(report, type));

    // Polling the current model's receivers: a mouse going away leaves state 2.
    manager.SetCurrentDeviceType(1002);
    receiver.Receiver()->Unlink();
    manager.PollDongleLinks();
    std::vector<OpenedDeviceSummary> opened;
    manager.CollectOpened(opened);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].linkState, 2);
}

// Firmware transfer -----------------------------------------------------------------------------

Bytes Image(std::size_t size) {
    Bytes image(size);
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<std::uint8_t>((i * 13 + i / 256 + 1) & 0xFF);
    }
    return image;
}

// What the loader holds after receiving `image`: every block whole, padded with 0xFF.
Bytes Padded(Bytes image) {
    image.resize((image.size() + 15) / 16 * 16, 0xFF);
    return image;
}

TEST_F(DeviceExchangeTest, FirmwareImagesArriveIntact) {
    sim::VirtualConnection& cable = mice.AddConnection(kK2Cable);
    Rescan();
    manager.SetCurrentDeviceType(1002);
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    ASSERT_TRUE(manager.CurrentVidPid(vendorId, productId));
    ASSERT_NE(manager.OpenUpdateInterface(vendorId, productId), nullptr);

    for (std::size_t size : {1u, 16u, 40u, 96u, 100u, 4800u, 1u << 20}) {
        SCOPED_TRACE(size);
        const Bytes image = Image(size);
        EXPECT_TRUE(SendFirmwareUpdate(manager, image, nullptr));
        const sim::FirmwareLoader& loader = cable.Loader();
        EXPECT_EQ(loader.CurrentState(), sim::FirmwareLoader::State::Finished);
        EXPECT_TRUE(loader.Image() == Padded(image));
        EXPECT_EQ(loader.ReportsRefused(), 0u);
        EXPECT_EQ(loader.CrcErrors(), 0u);
    }

    // An empty image is not even started.
    const std::size_t blocks = cable.Loader().BlocksReceived();
    EXPECT_FALSE(SendFirmwareUpdate(manager, {}, nullptr));
    EXPECT_EQ(cable.Loader().BlocksReceived(), blocks);
}

// The block of `image` numbered `number`, as the loader expects it, built with the loader's own
// CRC.
Bytes Block(const Bytes& image, std::uint16_t number) {
    Bytes block{static_cast<std::uint8_t>(number & 0xFF), static_cast<std::uint8_t>(number >> 8)};
    for (std::size_t i = 0; i < 16; ++i) {
        const std::size_t at = number * 16u + i;
        block.push_back(at < image.size() ? image[at] : 0xFF);
    }
    const std::uint16_t crc = sim::Crc16Modbus(block.data(), block.size());
    block.push_back(crc & 0xFF);
    block.push_back(crc >> 8);
    return block;
}

Bytes Report(std::uint8_t byte2, const std::vector<Bytes>& blocks) {
    Bytes report{0x05, 0x02, byte2, 0x00};
    for (const Bytes& block : blocks) {
        report.insert(report.end(), block.begin(), block.end());
    }
    report.resize(64, 0xFF);
    return report;
}

TEST_F(DeviceExchangeTest, FirmwareReportLayoutsOnTheWire) {
    mice.AddConnection(kK2Cable);
    ASSERT_NE(manager.OpenUpdateInterface(kVendor, kCablePid), nullptr);
    const Bytes start = Report(0x02, {{0x01}});
    const Bytes end = Report(0x06, {{0x02}});

    struct Case {
        std::size_t size;
        std::vector<Bytes> (*reports)(const Bytes& image);
    };
    const Case cases[] = {
        {100,
         [](const Bytes& image) -> std::vector<Bytes> {
             return {Report(60, {Block(image, 0), Block(image, 1), Block(image, 2)}),
                     Report(60, {Block(image, 3), Block(image, 4), Block(image, 5)}),
                     Report(20, {Block(image, 6)})};
         }},
        {40,
         [](const Bytes& image) -> std::vector<Bytes> {
             return {Report(60, {Block(image, 0), Block(image, 1), Block(image, 2)})};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const Bytes image = Image(c.size);
        std::vector<std::string> lines;
        SetHidTrafficSink([&lines](const std::string& line) { lines.push_back(line); });
        EXPECT_TRUE(SendFirmwareUpdate(manager, image, nullptr));
        SetHidTrafficSink(nullptr);

        std::vector<std::string> expected{FormatHidTraffic('W', start.data(), start.size())};
        for (const Bytes& report : c.reports(image)) {
            expected.push_back(FormatHidTraffic('W', report.data(), report.size()));
        }
        expected.push_back(FormatHidTraffic('W', end.data(), end.size()));
        EXPECT_EQ(lines, expected);
    }
    EXPECT_EQ(pauses, (std::vector<int>{10, 10}))
        << "10 ms after the two full reports of the 100-byte image; none for 40 bytes, whose "
           "only report is the last one";
}

TEST_F(DeviceExchangeTest, FirmwareFaultsEndTheTransfer) {
    mice.SetTimeScale(0.02);
    sim::VirtualConnection& cable = mice.AddConnection(kK2Cable);
    ASSERT_NE(manager.OpenUpdateInterface(kVendor, kCablePid), nullptr);
    const Bytes image = Image(4800);

    // The loader refuses the start report: nothing else is sent.
    cable.Faults().FailUpdateWrites(2);
    EXPECT_FALSE(SendFirmwareUpdate(manager, image, nullptr));
    EXPECT_EQ(cable.Loader().CurrentState(), sim::FirmwareLoader::State::Idle);
    EXPECT_EQ(cable.Loader().BlocksReceived(), 0u);

    // The second data report fails twice: the transfer ends there, the end report still goes out.
    std::vector<int> progress;
    EXPECT_FALSE(SendFirmwareUpdate(manager, image, [&](int percent, int textId) {
        EXPECT_EQ(textId, kFirmwareSendingTextId);
        progress.push_back(percent);
        if (progress.size() == 1) {
            cable.Faults().FailUpdateWrites(2);
        }
    }));
    EXPECT_EQ(progress, std::vector<int>{10});
    EXPECT_EQ(cable.Loader().BlocksReceived(), 3u);
    EXPECT_EQ(cable.Loader().CurrentState(), sim::FirmwareLoader::State::Finished);

    // Unplugged halfway: every exchange fails at once.
    progress.clear();
    EXPECT_FALSE(SendFirmwareUpdate(manager, image, [&](int percent, int) {
        progress.push_back(percent);
        if (progress.size() == 2) {
            cable.Unplug();
        }
    }));
    EXPECT_EQ(progress.size(), 2u);
    EXPECT_EQ(cable.Loader().BlocksReceived(), 6u);
    EXPECT_EQ(cable.Loader().CurrentState(), sim::FirmwareLoader::State::Receiving);
}

}  // namespace
