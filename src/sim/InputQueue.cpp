#include "sim/InputQueue.h"

#include <algorithm>

namespace sim {

void InputQueue::Push(InputReport report, Clock::time_point availableAt) {
    {
        std::lock_guard lock(mutex_);
        if (!open_) {
            return;
        }
        if (entries_.size() >= kCapacity) {
            ++dropped_;
            return;
        }
        entries_.push_back({std::move(report), availableAt});
    }
    changed_.notify_all();
}

InputQueue::PopResult InputQueue::Pop(int timeoutMs, InputReport& report) {
    const bool limited = timeoutMs >= 0;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    std::unique_lock lock(mutex_);
    for (;;) {
        if (!open_) {
            return PopResult::Closed;
        }
        const Clock::time_point now = Clock::now();
        if (!entries_.empty() && entries_.front().availableAt <= now) {
            report = std::move(entries_.front().report);
            entries_.pop_front();
            return PopResult::Data;
        }
        if (limited && now >= deadline) {
            return PopResult::TimedOut;
        }
        Clock::time_point wakeAt = limited ? deadline : Clock::time_point::max();
        if (!entries_.empty()) {
            wakeAt = std::min(wakeAt, entries_.front().availableAt);
        }
        if (wakeAt == Clock::time_point::max()) {
            changed_.wait(lock);
        } else {
            changed_.wait_until(lock, wakeAt);
        }
    }
}

void InputQueue::Close() {
    {
        std::lock_guard lock(mutex_);
        entries_.clear();
        open_ = false;
    }
    changed_.notify_all();
}

std::size_t InputQueue::Size() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

std::size_t InputQueue::Dropped() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

}  // namespace sim
