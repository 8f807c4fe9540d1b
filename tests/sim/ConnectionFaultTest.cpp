// The faults a test can ask a connection for, seen through the HidDevice interface: lost,
// refused, garbled and delayed replies, report latency, unplugging.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "SimExchange.h"
#include "sim/VirtualHidBackend.h"

namespace {

using namespace simtest;
using Clock = std::chrono::steady_clock;

class ConnectionFaultTest : public testing::Test {
protected:
    ConnectionFaultTest()
        : connection_(AddTestConnection(backend_, 0)),
          device_(OpenCommand(backend_, connection_)) {}

    sim::FaultPlan& Faults() { return connection_.Faults(); }
    std::uint8_t ReportRate() const { return connection_.Mouse().Settings().reportRate; }

    sim::VirtualHidBackend backend_;
    sim::VirtualConnection& connection_;
    std::unique_ptr<HidDevice> device_;
};

TEST_F(ConnectionFaultTest, LostAcknowledgementsLeaveTheRequestDoneButUnanswered) {
    Faults().LoseAcknowledgements(2);
    for (std::uint8_t rate : {0x08, 0x04}) {
        ASSERT_EQ(device_->Write(Write(0x02, 1, {rate}).data(), 65), 65);
        EXPECT_TRUE(ReadReport(*device_, 20).empty());
        EXPECT_EQ(ReportRate(), rate);
    }
    EXPECT_EQ(Exchange(*device_, Write(0x02, 1, {0x02}))[1], 0x00);
}

TEST_F(ConnectionFaultTest, RefusedRequestsAreAnsweredWithStatusOneAndNotCarriedOut) {
    Faults().RefuseRequests(1);
    const Bytes reply = Exchange(*device_, Write(0x02, 1, {0x08}));
    ASSERT_EQ(reply.size(), 33u);
    EXPECT_EQ(reply[1], 0x01);
    EXPECT_EQ(ReportRate(), 0x01);
    EXPECT_EQ(connection_.Mouse().Requests().Size(), 0u);
    EXPECT_EQ(connection_.CommandLog().Size(), 1u);
    EXPECT_EQ(Exchange(*device_, Write(0x02, 1, {0x08}))[1], 0x00);
}

TEST_F(ConnectionFaultTest, GarbledRepliesNeverLookAccepted) {
    Faults().SetRandomSeed(7);
    Faults().GarbleReplies(50, sim::GarbageKind::RandomBytes);
    for (int i = 0; i < 50; ++i) {
        const Bytes reply = Exchange(*device_, Read(0x10), 65);
        ASSERT_EQ(reply.size(), 64u);
        EXPECT_NE(reply[1], 0x00);
    }
    Faults().GarbleReplies(1, sim::GarbageKind::Truncated);
    EXPECT_EQ(Exchange(*device_, Write(0x02, 1, {0x08})), (Bytes{0x02}));
    EXPECT_EQ(ReportRate(), 0x08) << "the request itself got through";
    EXPECT_EQ(Exchange(*device_, Read(0x10))[1], 0x00);
}

TEST_F(ConnectionFaultTest, DelayedRepliesComeLate) {
    Faults().DelayReplies(std::chrono::milliseconds(300));
    ASSERT_EQ(device_->Write(Read(0x10).data(), 33), 33);
    EXPECT_TRUE(ReadReport(*device_, 0).empty()) << "not there right after the write";
    const Clock::time_point start = Clock::now();
    const Bytes reply = ReadReport(*device_, 5000);
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(reply[1], 0x00);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(4000))
        << "a waiting read returns when the reply becomes readable";
}

TEST_F(ConnectionFaultTest, ReportLatencyHoldsTheWriteWithItsReplyReady) {
    Faults().SetReportLatency(std::chrono::milliseconds(5));
    const Clock::time_point start = Clock::now();
    ASSERT_EQ(device_->Write(Read(0x10).data(), 33), 33);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(5));
    EXPECT_FALSE(ReadReport(*device_, 0).empty()) << "the reply is ready when the write returns";
}

TEST_F(ConnectionFaultTest, UnpluggingFailsEverythingAtOnceAndPluggingInNeedsNewHandles) {
    std::future<int> pending = std::async(std::launch::async, [this] {
        std::uint8_t buffer[64];
        return device_->Read(buffer, sizeof buffer, -1);  // waits without limit
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    connection_.Unplug();
    ASSERT_EQ(pending.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(pending.get(), -1);

    EXPECT_EQ(device_->Write(Read(0x10).data(), 33), -1);
    std::uint8_t buffer[64];
    EXPECT_EQ(device_->Read(buffer, sizeof buffer, 1000), -1);
    std::u16string product;
    EXPECT_FALSE(device_->ProductString(product));
    EXPECT_TRUE(backend_.Enumerate().empty());
    EXPECT_FALSE(OpenCommand(backend_, connection_));

    connection_.Plug();
    EXPECT_EQ(backend_.Enumerate().size(), 3u);
    EXPECT_EQ(device_->Write(Read(0x10).data(), 33), -1) << "an old handle stays dead";
    auto fresh = OpenCommand(backend_, connection_);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(Exchange(*fresh, Read(0x10))[1], 0x00);
}

TEST_F(ConnectionFaultTest, ClearEndsEveryFault) {
    Faults().LoseAcknowledgements(5);
    Faults().DelayReplies(std::chrono::milliseconds(10000));
    Faults().Clear();
    EXPECT_EQ(Exchange(*device_, Read(0x10))[1], 0x00);
}

TEST_F(ConnectionFaultTest, TimeScaleShortensTheWaitOfAnEmptyRead) {
    backend_.SetTimeScale(0.001);
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(ReadReport(*device_, 5000).empty());
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(4000));
}

}  // namespace
