#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/UniqueFd.h"

class QObject;
class QSocketNotifier;

// Tasks handed from any thread to the user-interface thread, run there in the order pushed, also
// inside nested loops (modal dialogs, menus). A task waits in a queue under a lock, and an
// eventfd watched by a QSocketNotifier wakes the user-interface thread: the pushing thread never
// touches Qt's objects, which keeps the hand-over visible to ThreadSanitizer (Qt is not built
// with it). Created and destroyed on the user-interface thread, with the QApplication alive;
// tasks still waiting then are dropped.
class QtTaskQueue {
public:
    QtTaskQueue();
    ~QtTaskQueue();
    QtTaskQueue(const QtTaskQueue&) = delete;
    QtTaskQueue& operator=(const QtTaskQueue&) = delete;

    // Any thread.
    void Push(std::function<void()> task);

private:
    void Wake();
    void RunPending();

    platform::UniqueFd wakeFd_;
    std::unique_ptr<QSocketNotifier> notifier_;
    // Without an eventfd (out of descriptors) Qt's queued calls wake the thread instead; they
    // die with this object.
    std::unique_ptr<QObject> fallback_;
    std::mutex lock_;
    std::deque<std::function<void()>> tasks_;  // guarded by lock_
    bool wakePending_ = false;                 // guarded by lock_: a wake-up not yet taken
};
