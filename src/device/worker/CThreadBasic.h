#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// A background thread that runs one operation, once or in a loop with a pause between runs, and
// can be stopped from another thread. The exit event is a flag with a condition variable that the
// thread signals when its routine ends.
//
// Start and Stop are called by the owning thread; the running flag and the exit event are the
// only fields both threads touch.
class CThreadBasic {
public:
    CThreadBasic() = default;
    virtual ~CThreadBasic();
    CThreadBasic(const CThreadBasic&) = delete;
    CThreadBasic& operator=(const CThreadBasic&) = delete;

    // The operation the thread runs.
    virtual void Run() = 0;

    // Sets the period (milliseconds) and the loop flag, records the start tick, clears the exit
    // event, sets the running flag and starts the thread on ThreadMain. False when it runs already.
    bool Start(int periodMs, bool loop);
    // Clears the running flag, wakes the thread (WakeForStop) and waits up to `timeoutMs` for the
    // exit event. True when the thread ended in time (it is then joined). Otherwise the thread
    // finishes its current run on its own; Join waits for that.
    bool Stop(int timeoutMs = 1000);
    // Waits without limit for a stopped thread to end. An owner whose Run uses its own members
    // calls Stop and then Join before they go.
    void Join();

    bool IsRunning() const { return running_.load(); }
    bool IsLooping() const { return loop_; }
    int Period() const { return period_; }
    std::uint32_t StartTick() const { return startTick_; }
    std::uint32_t Result() const { return result_; }

    // The thread routine: Run once when the loop flag is clear, otherwise Run and sleep the period
    // while the running flag is set; then signal the exit event and give the result.
    static std::uint32_t ThreadMain(CThreadBasic* thread);

protected:
    // Called by Stop after the running flag is cleared, so that a thread blocked in a wait of
    // its own can notice. Does nothing by default.
    virtual void WakeForStop() {}
    // The pause between two runs; a real sleep by default.
    virtual void SleepPeriod(int milliseconds);
    void SetResult(std::uint32_t result) { result_ = result; }

private:
    void SignalExit();

    std::atomic<bool> running_{false};  // written by both threads, atomic
    bool loop_ = false;                 // set before the thread starts
    int period_ = 1;                    // set before the thread starts
    std::uint32_t startTick_ = 0;       // set before the thread starts
    std::uint32_t result_ = 0;          // the thread's only; read after the exit event
    std::thread thread_;                // the owning thread's only

    std::mutex exitMutex_;
    std::condition_variable exitEvent_;
    bool exited_ = true;  // guarded by exitMutex_
};
