#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

// The device worker's first-in first-out list of command numbers. The pages and the main window
// append on the user-interface thread, the worker takes one command per step. A worker with
// nothing to do and no device waits on the queue instead of polling it.
//
// Thread-safe: every member takes `mutex_`.
class DeviceCommandQueue {
public:
    DeviceCommandQueue() = default;
    DeviceCommandQueue(const DeviceCommandQueue&) = delete;
    DeviceCommandQueue& operator=(const DeviceCommandQueue&) = delete;

    // Appends `command` and wakes a waiting worker.
    void Queue(int command);
    // Removes the first command into `command`; false when the queue is empty.
    bool TakeNext(int& command);
    bool Empty() const;
    // Empties the queue.
    void Clear();

    // Waits until a command is queued, Interrupt is called or `timeout` passes; true when the
    // queue holds a command on return.
    bool WaitForCommand(std::chrono::milliseconds timeout);
    // Wakes every waiter without queueing anything (used when the worker is told to stop).
    void Interrupt();

    // Waits until the queue is empty and no taken command is still running, or `timeout` passes;
    // true when idle on return. The worker marks a taken command done with CommandDone.
    bool WaitUntilIdle(std::chrono::milliseconds timeout);
    void CommandDone();
    // Nobody serves the queue any more (its worker stopped for good, the program is ending):
    // every wait for idleness ends at once with false, now and later.
    void Abandon();

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;  // queued, interrupted, or a command finished
    std::deque<int> commands_;         // guarded by mutex_
    int running_ = 0;                  // commands taken and not yet done; guarded by mutex_
    bool interrupted_ = false;         // guarded by mutex_
    bool abandoned_ = false;           // guarded by mutex_
};
