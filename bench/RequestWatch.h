#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

// Waits for the worker's next write of one kind of request and stamps the moment it was logged.
// Fed every line of the HID traffic log ("W <n> <bytes>") from the worker's thread.
class RequestWatch {
public:
    using Clock = std::chrono::steady_clock;

    // `requestBytes`: how the request's bytes begin, report id then command ("00 02").
    explicit RequestWatch(std::string requestBytes) : requestBytes_(std::move(requestBytes)) {}

    // Forgets the previous request; the next matching write is the one waited for.
    void Arm() {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_ = false;
    }
    void OnLine(const std::string& line) {
        const Clock::time_point now = Clock::now();
        if (line.empty() || line[0] != 'W') {
            return;
        }
        // The bytes start after the second space.
        const std::size_t bytes = line.find(' ', 2);
        if (bytes == std::string::npos ||
            line.compare(bytes + 1, requestBytes_.size(), requestBytes_) != 0) {
            return;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (seen_) {
                return;
            }
            seen_ = true;
            at_ = now;
        }
        changed_.notify_all();
    }
    // The moment of the request's write; false when it did not come within `timeout`.
    bool Wait(std::chrono::milliseconds timeout, Clock::time_point& at) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!changed_.wait_for(lock, timeout, [this] { return seen_; })) {
            return false;
        }
        at = at_;
        return true;
    }

private:
    const std::string requestBytes_;
    std::mutex mutex_;
    std::condition_variable changed_;  // a matching request was written
    bool seen_ = false;                // guarded by mutex_
    Clock::time_point at_;             // guarded by mutex_
};
