// The worker thread base: one run without the loop flag, runs until stopped with it.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "device/worker/CThreadBasic.h"

namespace {

class CountingThread : public CThreadBasic {
public:
    ~CountingThread() override { Stop(); }

    std::atomic<int> runs{0};

    // CThreadBasic overrides
    void Run() override {
        ++runs;
        SetResult(42);
    }
};

TEST(CThreadBasicTest, WithoutLoopRunsOnceAndGivesItsResult) {
    CountingThread thread;
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(thread.Period(), 1);

    ASSERT_TRUE(thread.Start(2, false));
    thread.Join();

    EXPECT_EQ(thread.runs.load(), 1);
    EXPECT_EQ(thread.Result(), 42u);
    EXPECT_TRUE(thread.Stop());
    EXPECT_EQ(CThreadBasic::ThreadMain(&thread), 42u);  // the routine itself, on this thread
    EXPECT_EQ(thread.runs.load(), 2);
}

TEST(CThreadBasicTest, LoopRunsUntilStopped) {
    CountingThread thread;
    ASSERT_TRUE(thread.Start(1, true));
    while (thread.runs.load() < 3) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(thread.Stop(1000));
    const int runs = thread.runs.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(thread.runs.load(), runs);
    // Stopped threads start again.
    ASSERT_TRUE(thread.Start(1, true));
    EXPECT_TRUE(thread.Stop(1000));
}

}  // namespace
