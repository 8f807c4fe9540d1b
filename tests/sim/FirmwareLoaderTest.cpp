// The firmware loader behind the update interface: start, data and end reports, block numbers
// and CRCs.

#include <gtest/gtest.h>

#include <string>

#include "SimExchange.h"
#include "sim/FirmwareLoader.h"
#include "sim/VirtualHidBackend.h"

namespace {

using namespace simtest;
using State = sim::FirmwareLoader::State;

Bytes Image(std::size_t size) {
    Bytes image(size);
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return image;
}

class FirmwareLoaderTest : public testing::Test {
protected:
    FirmwareLoaderTest()
        : connection_(AddTestConnection(backend_, 0)),
          update_(OpenInterface(backend_, connection_, sim::VirtualConnection::kUpdateInterface)) {}

    int Send(const Bytes& report) { return update_->Write(report.data(), report.size()); }

    sim::VirtualHidBackend backend_;
    sim::VirtualConnection& connection_;
    std::unique_ptr<HidDevice> update_;
};

TEST(FirmwareLoaderCrc, MatchesTheCatalogueCheckValue) {
    const std::string text = "123456789";
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    EXPECT_EQ(sim::Crc16Modbus(bytes, text.size()), 0x4B37);
    EXPECT_EQ(Crc(bytes, text.size()), 0x4B37);
}

TEST_F(FirmwareLoaderTest, ImagesOfEveryTailLengthArriveWhole) {
    // 100 bytes: two full reports and one block of 4 bytes; 96: exactly two reports; 40: one
    // report of three blocks, the third holding 8 bytes; 4800: a hundred full reports.
    for (std::size_t size : {100u, 96u, 40u, 4800u, 1u, 17u}) {
        SCOPED_TRACE(size);
        const Bytes image = Image(size);
        ASSERT_EQ(Send(FirmwareStart()), 64);
        EXPECT_EQ(connection_.Loader().CurrentState(), State::Receiving);
        for (const Bytes& report : FirmwareDataReports(image)) {
            ASSERT_EQ(Send(report), 64);
        }
        ASSERT_EQ(Send(FirmwareEnd()), 64);
        EXPECT_EQ(connection_.Loader().CurrentState(), State::Finished);

        const Bytes received = connection_.Loader().Image();
        const std::size_t blocks = (size + 15) / 16;
        EXPECT_EQ(connection_.Loader().BlocksReceived(), blocks);
        ASSERT_EQ(received.size(), blocks * 16);
        EXPECT_EQ(Bytes(received.begin(), received.begin() + size), image);
        EXPECT_EQ(Bytes(received.begin() + size, received.end()), Bytes(blocks * 16 - size, 0xFF))
            << "the last block is padded with 0xFF";
    }
    EXPECT_EQ(connection_.Loader().ReportsRefused(), 0u);
}

TEST_F(FirmwareLoaderTest, ABadCrcIsRefusedAndTheSameReportSentAgainIsTaken) {
    const Bytes image = Image(150);
    std::vector<Bytes> reports = FirmwareDataReports(image);
    ASSERT_EQ(Send(FirmwareStart()), 64);
    ASSERT_EQ(Send(reports[0]), 64);

    Bytes damaged = reports[1];
    damaged[24 + 2 + 5] ^= 0x40;  // an image byte of the second block
    EXPECT_EQ(Send(damaged), -1);
    EXPECT_EQ(connection_.Loader().CrcErrors(), 1u);
    EXPECT_EQ(connection_.Loader().BlocksReceived(), 3u) << "none of the report's blocks kept";

    for (std::size_t k = 1; k < reports.size(); ++k) {
        ASSERT_EQ(Send(reports[k]), 64);
    }
    ASSERT_EQ(Send(FirmwareEnd()), 64);
    const Bytes received = connection_.Loader().Image();
    EXPECT_EQ(Bytes(received.begin(), received.begin() + 150), image);

    EXPECT_TRUE(ReadReport(*update_, 0).empty()) << "the loader never answers";
}

TEST_F(FirmwareLoaderTest, ReportsOutOfTurnAreRefused) {
    const std::vector<Bytes> reports = FirmwareDataReports(Image(200));
    EXPECT_EQ(Send(reports[0]), -1) << "data before the start report";
    EXPECT_EQ(Send(FirmwareEnd()), -1) << "end before the start report";

    ASSERT_EQ(Send(FirmwareStart()), 64);
    EXPECT_EQ(Send(reports[1]), -1) << "blocks 3 to 5 before 0 to 2";
    ASSERT_EQ(Send(reports[0]), 64);
    EXPECT_EQ(Send(reports[0]), -1) << "blocks 0 to 2 again";

    Bytes wrongId = reports[1];
    wrongId[0] = 0x04;
    EXPECT_EQ(Send(wrongId), -1);
    Bytes shortReport(reports[1].begin(), reports[1].begin() + 63);
    EXPECT_EQ(Send(shortReport), -1);

    // A new start report begins a new image.
    ASSERT_EQ(Send(FirmwareStart()), 64);
    EXPECT_EQ(connection_.Loader().BlocksReceived(), 0u);
    EXPECT_EQ(Send(reports[0]), 64);
}

TEST_F(FirmwareLoaderTest, FailedUpdateWritesNeverReachTheLoader) {
    connection_.Faults().FailUpdateWrites(2);
    EXPECT_EQ(Send(FirmwareStart()), -1);
    EXPECT_EQ(Send(FirmwareStart()), -1);
    EXPECT_EQ(connection_.Loader().CurrentState(), State::Idle);
    EXPECT_EQ(Send(FirmwareStart()), 64);
    EXPECT_EQ(connection_.Loader().CurrentState(), State::Receiving);
}

TEST_F(FirmwareLoaderTest, OnlyTheUpdateInterfaceTakesFirmwareReports) {
    auto command = OpenCommand(backend_, connection_);
    auto pointer = OpenInterface(backend_, connection_, sim::VirtualConnection::kPointerInterface);
    const Bytes start = FirmwareStart();
    EXPECT_EQ(command->Write(start.data(), start.size()), -1) << "report id 5 is not a command";
    EXPECT_EQ(pointer->Write(start.data(), start.size()), -1);
    EXPECT_EQ(connection_.Loader().CurrentState(), State::Idle);
}

}  // namespace
