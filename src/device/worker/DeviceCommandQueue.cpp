#include "device/worker/DeviceCommandQueue.h"

void DeviceCommandQueue::Queue(int command) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        commands_.push_back(command);
    }
    changed_.notify_all();
}

bool DeviceCommandQueue::TakeNext(int& command) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (commands_.empty()) {
        return false;
    }
    command = commands_.front();
    commands_.pop_front();
    ++running_;
    return true;
}

bool DeviceCommandQueue::Empty() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return commands_.empty();
}

void DeviceCommandQueue::Clear() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        commands_.clear();
    }
    changed_.notify_all();
}

bool DeviceCommandQueue::WaitForCommand(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, timeout, [this] { return !commands_.empty() || interrupted_; });
    interrupted_ = false;
    return !commands_.empty();
}

void DeviceCommandQueue::Interrupt() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        interrupted_ = true;
    }
    changed_.notify_all();
}

bool DeviceCommandQueue::WaitUntilIdle(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, timeout,
                      [this] { return abandoned_ || (commands_.empty() && running_ == 0); });
    return !abandoned_ && commands_.empty() && running_ == 0;
}

void DeviceCommandQueue::Abandon() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        abandoned_ = true;
    }
    changed_.notify_all();
}

void DeviceCommandQueue::CommandDone() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (running_ > 0) {
            --running_;
        }
    }
    changed_.notify_all();
}
