#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

#include "sim/DeviceReports.h"

namespace sim {

// The input reports waiting for one opened handle, oldest first. Like the kernel's hidraw buffer,
// every handle of an interface gets its own copy of each report that arrives while it is open,
// and a queue holds at most kCapacity reports, dropping new ones when full. A report may carry a
// time before which it cannot be read (a slow device). Closing the queue (the device was
// unplugged) makes every read fail at once, reads under way included. Thread-safe.
class InputQueue {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kCapacity = 64;

    enum class PopResult { Data, TimedOut, Closed };

    // Appends a report readable from `availableAt`; dropped when closed or full.
    void Push(InputReport report, Clock::time_point availableAt);
    // Takes the oldest report once it is readable, waiting up to `timeoutMs` (without limit when
    // negative).
    PopResult Pop(int timeoutMs, InputReport& report);
    // Drops every report and fails every read from now on; wakes waiting readers.
    void Close();

    std::size_t Size() const;
    // Reports dropped because the queue was full.
    std::size_t Dropped() const;

private:
    struct Entry {
        InputReport report;
        Clock::time_point availableAt;
    };

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Entry> entries_;  // guarded by mutex_
    bool open_ = true;           // guarded by mutex_
    std::size_t dropped_ = 0;    // guarded by mutex_
};

}  // namespace sim
