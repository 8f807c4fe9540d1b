#include "device/worker/CThreadBasic.h"

#include <chrono>

namespace {

std::uint32_t TickCount() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

CThreadBasic::~CThreadBasic() {
    // Derived classes stop the thread in their own destructor, while Run still has its object;
    // this only makes sure no thread outlives the base.
    if (thread_.joinable()) {
        running_ = false;
        thread_.join();
    }
}

bool CThreadBasic::Start(int periodMs, bool loop) {
    if (running_.load() || thread_.joinable()) {
        return false;
    }
    period_ = periodMs;
    loop_ = loop;
    startTick_ = TickCount();
    {
        std::lock_guard<std::mutex> lock(exitMutex_);
        exited_ = false;
    }
    running_ = true;
    thread_ = std::thread([this] { ThreadMain(this); });
    return true;
}

bool CThreadBasic::Stop(int timeoutMs) {
    running_ = false;
    WakeForStop();
    bool ended = false;
    {
        std::unique_lock<std::mutex> lock(exitMutex_);
        ended = exitEvent_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                    [this] { return exited_; });
    }
    if (ended) {
        Join();
    }
    return ended;
}

void CThreadBasic::Join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::uint32_t CThreadBasic::ThreadMain(CThreadBasic* thread) {
    if (!thread->loop_) {
        thread->Run();
    } else {
        while (thread->running_.load()) {
            thread->Run();
            // The timer resolution the sleep would raise on other systems needs nothing here.
            thread->SleepPeriod(thread->period_);
        }
    }
    const std::uint32_t result = thread->result_;
    thread->SignalExit();
    return result;
}

void CThreadBasic::SleepPeriod(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void CThreadBasic::SignalExit() {
    {
        std::lock_guard<std::mutex> lock(exitMutex_);
        exited_ = true;
    }
    exitEvent_.notify_all();
}
