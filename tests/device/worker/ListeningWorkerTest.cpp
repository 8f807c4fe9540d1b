// The worker on its own thread as the program runs it: the devices read by ListeningHidBackend,
// whose input interrupts the worker's wait on its queue. With an idle wait of a minute, only that
// wake can bring the mouse's reports to the pages in time.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "device/transport/ListeningHidBackend.h"
#include "device/worker/WorkerFixture.h"
#include "support/Eventually.h"

namespace {

using namespace std::chrono_literals;

class ListeningWorkerTest : public WorkerTest {
protected:
    void SetUp() override {
        WorkerTest::SetUp();
        listenedManager.SetSleepFunction([](int) {});
        listening.SetInputCallback([this] { session.queue.Interrupt(); });
        listenedWorker.SetIdleWait(60000);
        listenedWorker.SetInputWakes(true);
    }
    void TearDown() override {
        listenedWorker.Stop();
        listening.SetInputCallback({});
        WorkerTest::TearDown();
    }

    ListeningHidBackend listening{backend};
    DeviceManager listenedManager{listening};
    DeviceWorker listenedWorker{listenedManager, store, session, view, catalog, loader};
};

TEST_F(ListeningWorkerTest, IdleWorkerSleepsUntilTheMouseOrACommandWakesIt) {
    sim::VirtualConnection& cable = Plug(kK1, 0);
    ASSERT_TRUE(listenedWorker.Start());
    listenedWorker.Queue(DeviceWorker::kRescanConnect);
    ASSERT_TRUE(listenedWorker.WaitUntilIdle(5000));
    ASSERT_TRUE(session.state.Connected());

    cable.Mouse().PressDpiButton();
    const int pressed = cable.Mouse().Settings().dpi.selected;
    EXPECT_TRUE(Eventually([&] { return session.state.ReportedDpiIndex() == pressed; }));

    ASSERT_TRUE(store.SetConfigValue(session.state.CurrentProfile(), u"report_rate", u"4"));
    listenedWorker.Queue(DeviceWorker::kSendReportRate);
    ASSERT_TRUE(listenedWorker.WaitUntilIdle(5000));
    EXPECT_EQ(cable.Mouse().Settings().reportRate, 4);

    // A report that comes during a command is handled after it: stage 3 of 5.
    ASSERT_NE(pressed, 3);
    cable.Faults().NotifyDuringNextReplies(sim::MakeUnaskedReport(0xC2, {0x35}), 1);
    listenedWorker.Queue(DeviceWorker::kSendReportRate);
    EXPECT_TRUE(Eventually([&] {
        return session.state.ReportedDpiIndex() == 3 && session.state.ReportedDpiCount() == 5;
    }));

    EXPECT_TRUE(listenedWorker.Stop());
}

TEST_F(ListeningWorkerTest, ReceiverLinkReportsWakeTheWorker) {
    sim::VirtualConnection& receiver = Plug(kK2, 1);
    ASSERT_TRUE(listenedWorker.Start());
    listenedWorker.Queue(DeviceWorker::kRescanConnect);
    ASSERT_TRUE(listenedWorker.WaitUntilIdle(5000));
    ASSERT_TRUE(session.state.Linked());

    receiver.Receiver()->Unlink();
    EXPECT_TRUE(Eventually([&] { return !session.state.Linked(); }));
    EXPECT_TRUE(listenedWorker.Stop());
}

}  // namespace
