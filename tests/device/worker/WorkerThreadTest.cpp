// The worker on its own thread while the test plays the user-interface thread: queueing, waiting
// until idle, the mouse's reports while idle, and stopping from each state. Run under
// ThreadSanitizer as well.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "device/worker/WorkerFixture.h"
#include "support/Eventually.h"

namespace {

using namespace std::chrono_literals;

TEST_F(WorkerTest, ThreadRunsQueuedCommandsAndStops) {
    sim::VirtualConnection& cable = Plug(kK1, 0);
    ASSERT_TRUE(worker.Start());
    EXPECT_FALSE(worker.Start());
    worker.Queue(DeviceWorker::kRescanConnect);
    worker.Queue(DeviceWorker::kSoftwareCheck);
    ASSERT_TRUE(worker.WaitUntilIdle(5000));
    EXPECT_TRUE(session.state.Connected());
    EXPECT_TRUE(view.Has("CheckSoftwareVersion"));

    // The user-interface thread stores a value and queues its command, as a page does.
    ASSERT_TRUE(store.SetConfigValue(session.state.CurrentProfile(), u"report_rate", u"4"));
    worker.Queue(DeviceWorker::kSendReportRate);
    ASSERT_TRUE(worker.WaitUntilIdle(5000));
    EXPECT_EQ(cable.Mouse().Settings().reportRate, 4);

    // While idle and connected the worker polls: the DPI button reaches the page.
    cable.Mouse().PressDpiButton();
    EXPECT_TRUE(Eventually([&] { return session.state.ReportedDpiIndex() != 0; }));

    EXPECT_TRUE(worker.Stop());
    EXPECT_FALSE(worker.IsRunning());
}

TEST_F(WorkerTest, IdleWorkerWithoutDeviceWakesForACommandAndStops) {
    // An idle wait far beyond every wait below: only the wake-ups can end it in time.
    worker.SetIdleWait(60000);
    ASSERT_TRUE(worker.Start());
    worker.Queue(DeviceWorker::kRescanConnect);
    ASSERT_TRUE(worker.WaitUntilIdle(5000));
    ASSERT_FALSE(session.state.Connected());

    // Now it waits on the queue; a mouse arrives and its command wakes the worker.
    std::this_thread::sleep_for(20ms);
    Plug(kK2, 0);
    worker.Queue(DeviceWorker::kArrival);
    ASSERT_TRUE(worker.WaitUntilIdle(5000));
    EXPECT_TRUE(session.state.Connected());

    // Back to no device, and stopped while waiting on the queue.
    backend.Connection(1)->Unplug();
    worker.Queue(DeviceWorker::kRemoval);
    ASSERT_TRUE(worker.WaitUntilIdle(5000));
    ASSERT_FALSE(session.state.Connected());
    std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(worker.Stop());
    EXPECT_FALSE(worker.IsRunning());
}

TEST_F(WorkerTest, StopsWhileBusyWithAQueue) {
    Plug(kK1, 0);
    ASSERT_TRUE(worker.Start());
    for (int i = 0; i < 20; ++i) {
        worker.Queue(DeviceWorker::kSendDpiStages);
    }
    worker.Queue(DeviceWorker::kRescanConnect);
    EXPECT_TRUE(worker.Stop());
    EXPECT_FALSE(worker.IsRunning());

    // Commands left behind by a stopped worker: whoever waits for them is told at once once the
    // queue is abandoned, instead of after the whole wait.
    const auto before = std::chrono::steady_clock::now();
    std::thread waiter([this] { EXPECT_FALSE(session.queue.WaitUntilIdle(60s)); });
    std::this_thread::sleep_for(10ms);
    session.queue.Abandon();
    waiter.join();
    EXPECT_FALSE(worker.WaitUntilIdle(60000));
    EXPECT_LT(std::chrono::steady_clock::now() - before, 30s);
}

}  // namespace
