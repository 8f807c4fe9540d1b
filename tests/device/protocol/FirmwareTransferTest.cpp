// Firmware-update reports and the transfer of an image over a scripted update interface.

#include "device/protocol/FirmwareTransfer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/protocol/FirmwareReports.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/ScriptedHid.h"

namespace {

constexpr std::uint16_t kVendor = 0x3E7A;
constexpr std::uint16_t kProduct = 0x0C02;

Bytes Image(std::size_t size) {
    Bytes image(size);
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<std::uint8_t>((i * 7 + i / 251) & 0xFF);
    }
    return image;
}

std::uint16_t Le16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

// What a loader makes of the reports written: checks the start and end reports, every block
// number in sequence and every CRC, and gives the image carried. Failures are test failures.
Bytes Reassemble(const std::vector<ScriptedEvent>& writes, std::size_t imageSize) {
    Bytes image;
    EXPECT_GE(writes.size(), 2u);
    if (writes.size() < 2) {
        return image;
    }
    const FirmwareReport start = MakeFirmwareStartReport();
    const FirmwareReport end = MakeFirmwareEndReport();
    EXPECT_EQ(writes.front().data, Bytes(start.begin(), start.end()));
    EXPECT_EQ(writes.back().data, Bytes(end.begin(), end.end()));
    std::uint32_t expectedBlock = 0;
    for (std::size_t r = 1; r + 1 < writes.size(); ++r) {
        const Bytes& report = writes[r].data;
        EXPECT_EQ(report.size(), 64u);
        EXPECT_EQ(report[0], 0x05);
        EXPECT_EQ(report[1], 0x02);
        EXPECT_EQ(report[3], 0x00);
        const std::size_t blocks = report[2] / 20;
        EXPECT_TRUE(report[2] == 20 || report[2] == 40 || report[2] == 60) << int(report[2]);
        for (std::size_t b = 0; b < blocks; ++b) {
            const std::uint8_t* block = report.data() + 4 + 20 * b;
            EXPECT_EQ(Le16(block), static_cast<std::uint16_t>(expectedBlock)) << "report " << r;
            EXPECT_EQ(Le16(block + 18), Crc16Modbus(block, 18)) << "report " << r;
            image.insert(image.end(), block + 2, block + 18);
            ++expectedBlock;
        }
        for (std::size_t i = 4 + 20 * blocks; i < 64; ++i) {
            EXPECT_EQ(report[i], 0xFF) << "unused byte " << i << " of report " << r;
        }
    }
    EXPECT_GE(image.size(), imageSize);
    EXPECT_LT(image.size(), imageSize + 16);
    for (std::size_t i = imageSize; i < image.size(); ++i) {
        EXPECT_EQ(image[i], 0xFF) << "padding byte " << i;
    }
    image.resize(std::min(image.size(), imageSize));
    return image;
}

class FirmwareTransferTest : public ::testing::Test {
protected:
    FirmwareTransferTest() : loader(hid.Add("loader", kVendor, kProduct, 0xFFEF, 0x0000)) {
        manager.SetSleepFunction([this](int milliseconds) { hid.Sleep(milliseconds); });
        manager.OpenUpdateInterface(kVendor, kProduct);
    }

    std::vector<Bytes> Written() {
        std::vector<Bytes> written;
        for (const ScriptedEvent& event : hid.Writes("loader")) {
            written.push_back(event.data);
        }
        return written;
    }

    ScriptedHid hid;
    ScriptedDevice& loader;
    DeviceManager manager{hid};
    std::vector<std::pair<int, int>> progress;
    FirmwareProgress record = [this](int percent, int textId) {
        progress.emplace_back(percent, textId);
    };
};

TEST(Crc16Modbus, KnownValues) {
    const std::string check = "123456789";
    EXPECT_EQ(Crc16Modbus(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()),
              0x4B37);
    const std::uint8_t request[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A};
    EXPECT_EQ(Crc16Modbus(request, sizeof request), 0xCDC5);
    EXPECT_EQ(Crc16Modbus(nullptr, 0), 0xFFFF);
}

TEST(FirmwareReports, StartAndEndReports) {
    Bytes start(64, 0xFF);
    start[0] = 0x05;
    start[1] = 0x02;
    start[2] = 0x02;
    start[3] = 0x00;
    start[4] = 0x01;
    const FirmwareReport made = MakeFirmwareStartReport();
    EXPECT_EQ(Bytes(made.begin(), made.end()), start);

    Bytes end = start;
    end[2] = 0x06;
    end[4] = 0x02;
    const FirmwareReport madeEnd = MakeFirmwareEndReport();
    EXPECT_EQ(Bytes(madeEnd.begin(), madeEnd.end()), end);
}

TEST_F(FirmwareTransferTest, HundredBytesGoOutAsTwoFullReportsAndOneBlock) {
    const Bytes image = Image(100);
    EXPECT_TRUE(SendFirmwareUpdate(manager, image, record));
    const auto written = Written();
    ASSERT_EQ(written.size(), 5u);

    // The first full report, byte by byte.
    Bytes first(64, 0xFF);
    first[0] = 0x05;
    first[1] = 0x02;
    first[2] = 60;
    first[3] = 0x00;
    for (int b = 0; b < 3; ++b) {
        std::uint8_t* block = first.data() + 4 + 20 * b;
        block[0] = static_cast<std::uint8_t>(b);
        block[1] = 0x00;
        std::copy(image.begin() + 16 * b, image.begin() + 16 * b + 16, block + 2);
        const std::uint16_t crc = Crc16Modbus(block, 18);
        block[18] = crc & 0xFF;
        block[19] = crc >> 8;
    }
    EXPECT_EQ(written[1], first);
    EXPECT_EQ(written[2][2], 60);
    EXPECT_EQ(Le16(written[2].data() + 4), 3);

    // The last report: block 6 with the image's last 4 bytes and 12 bytes of 0xFF.
    Bytes last(64, 0xFF);
    last[0] = 0x05;
    last[1] = 0x02;
    last[2] = 20;
    last[3] = 0x00;
    last[4] = 6;
    last[5] = 0;
    std::copy(image.begin() + 96, image.end(), last.begin() + 6);
    const std::uint16_t crc = Crc16Modbus(last.data() + 4, 18);
    last[22] = crc & 0xFF;
    last[23] = crc >> 8;
    EXPECT_EQ(written[3], last);

    EXPECT_EQ(Reassemble(hid.Writes("loader"), image.size()), image);
    const std::vector<std::pair<int, int>> expected{{55, 592}, {100, 592}};
    EXPECT_EQ(progress, expected);
}

TEST_F(FirmwareTransferTest, FortyBytesFitOneReportOfThreeBlocks) {
    const Bytes image = Image(40);
    EXPECT_TRUE(SendFirmwareUpdate(manager, image, record));
    const auto written = Written();
    ASSERT_EQ(written.size(), 3u);
    const Bytes& report = written[1];
    EXPECT_EQ(report[2], 60);
    const std::uint8_t* third = report.data() + 44;
    EXPECT_EQ(Le16(third), 2);
    EXPECT_TRUE(std::equal(image.begin() + 32, image.end(), third + 2));
    EXPECT_EQ(Bytes(third + 10, third + 18), Bytes(8, 0xFF));
    EXPECT_EQ(Le16(third + 18), Crc16Modbus(third, 18));
    EXPECT_TRUE(progress.empty()) << "the last report shows no progress";
    EXPECT_TRUE(hid.Sleeps().empty()) << "only full reports are followed by a pause";
}

TEST_F(FirmwareTransferTest, ImagesOfEverySizeArriveIntact) {
    struct Case {
        std::size_t size;
        std::size_t dataReports;
        std::uint8_t lastByte2;
    };
    const Case cases[] = {
        {1, 1, 20},      {16, 1, 20},     {17, 1, 40},          {32, 1, 40},
        {33, 1, 60},     {48, 1, 60},     {96, 2, 60},          {100, 3, 20},
        {4800, 100, 60}, {4801, 101, 20}, {1 << 20, 21846, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        hid.events.clear();
        const Bytes image = Image(c.size);
        EXPECT_TRUE(SendFirmwareUpdate(manager, image, nullptr));
        const auto writes = hid.Writes("loader");
        ASSERT_EQ(writes.size(), c.dataReports + 2);
        EXPECT_EQ(writes[writes.size() - 2].data[2], c.lastByte2);
        EXPECT_TRUE(Reassemble(writes, c.size) == image);
        EXPECT_TRUE(hid.Reads("loader").empty()) << "a loader accepting every write is never read";
    }
}

TEST_F(FirmwareTransferTest, ProgressAndPausesOf4800Bytes) {
    EXPECT_TRUE(SendFirmwareImage(manager, Image(4800), record));
    ASSERT_EQ(progress.size(), 100u);
    EXPECT_EQ(progress.front(), std::make_pair(10, 592));
    EXPECT_EQ(progress.back(), std::make_pair(100, 592));
    for (std::size_t k = 1; k < progress.size(); ++k) {
        EXPECT_LE(progress[k - 1].first, progress[k].first);
    }
    EXPECT_EQ(hid.Sleeps(), (std::vector<int>{10, 10}));
    const auto writes = hid.Writes("loader");
    ASSERT_EQ(writes.size(), 100u);
    EXPECT_EQ(writes[1].startMs, 10);
    EXPECT_EQ(writes[2].startMs, 20);
    EXPECT_EQ(writes[99].startMs, 20);
}

TEST_F(FirmwareTransferTest, RefusedDataReportEndsTheTransferButTheEndReportFollows) {
    // The loader refuses the report that starts with block 6 (the third), also when offered again.
    loader.refuses = [](const Bytes& written) {
        return written.size() > 5 && written[2] != 0x02 && written[2] != 0x06 &&
               Le16(written.data() + 4) == 6;
    };
    EXPECT_FALSE(SendFirmwareUpdate(manager, Image(4800), record));
    const auto writes = Written();
    ASSERT_EQ(writes.size(), 1u + 2 + 2 + 1);
    EXPECT_EQ(writes[3], writes[4]) << "the refused report is offered once more";
    const FirmwareReport end = MakeFirmwareEndReport();
    EXPECT_EQ(writes.back(), Bytes(end.begin(), end.end()));
    EXPECT_EQ(hid.Reads("loader").size(), 1u);
    EXPECT_EQ(hid.Reads("loader")[0].timeoutMs, 1000);
    EXPECT_EQ(progress.size(), 2u);
}

TEST_F(FirmwareTransferTest, RefusedDataReportAnsweredAfterTheRetryCountsAsAccepted) {
    bool refusedOnce = false;
    loader.refuses = [&refusedOnce](const Bytes& written) {
        if (!refusedOnce && written[2] == 60) {
            refusedOnce = true;
            return true;
        }
        return false;
    };
    loader.answer = [](const Bytes&) -> std::vector<Bytes> { return {{0x05, 0x00}}; };
    const Bytes image = Image(96);
    EXPECT_TRUE(SendFirmwareUpdate(manager, image, nullptr));
    auto writes = hid.Writes("loader");
    ASSERT_EQ(writes.size(), 5u);
    writes.erase(writes.begin() + 1);  // the refused first offer
    EXPECT_EQ(Reassemble(writes, image.size()), image);
}

TEST_F(FirmwareTransferTest, NothingFollowsARefusedStartReport) {
    loader.refuses = [](const Bytes& written) { return written[2] == 0x02; };
    EXPECT_FALSE(SendFirmwareUpdate(manager, Image(100), record));
    const auto writes = Written();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0], writes[1]);
    EXPECT_EQ(writes[0][4], 0x01);
    EXPECT_TRUE(progress.empty());
}

TEST_F(FirmwareTransferTest, ImagesThatCannotBeSentAreRefusedBeforeTheStart) {
    EXPECT_FALSE(SendFirmwareUpdate(manager, {}, record));
    EXPECT_FALSE(SendFirmwareImage(manager, {}, record));
    // One byte more than 65,536 blocks: block numbers would wrap and overwrite the beginning.
    EXPECT_FALSE(SendFirmwareUpdate(manager, Image(kFirmwareMaxImageSize + 1), record));
    EXPECT_TRUE(hid.events.empty());
}

TEST(FirmwareTransfer, WithoutUpdateInterfaceNothingIsSent) {
    ScriptedHid hid;
    hid.Add("loader", kVendor, kProduct, 0xFFEF, 0x0000);
    DeviceManager manager(hid);
    EXPECT_FALSE(SendFirmwareUpdate(manager, Image(100), nullptr));
    EXPECT_TRUE(hid.events.empty());
}

}  // namespace
