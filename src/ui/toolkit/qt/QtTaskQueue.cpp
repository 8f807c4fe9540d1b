#include "ui/toolkit/qt/QtTaskQueue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdint>

QtTaskQueue::QtTaskQueue() : wakeFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (wakeFd_.IsValid()) {
        notifier_ = std::make_unique<QSocketNotifier>(wakeFd_.Get(), QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                         [this] { RunPending(); });
    } else {
        fallback_ = std::make_unique<QObject>();
    }
}

QtTaskQueue::~QtTaskQueue() {
    // The notifier goes before the descriptor it watches.
    notifier_.reset();
}

void QtTaskQueue::Push(std::function<void()> task) {
    if (!task) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(lock_);
        tasks_.push_back(std::move(task));
        if (wakePending_) {
            return;
        }
        wakePending_ = true;
    }
    Wake();
}

void QtTaskQueue::Wake() {
    if (wakeFd_.IsValid()) {
        const std::uint64_t one = 1;
        // Fails only when the counter is full, and then the notifier fires anyway.
        [[maybe_unused]] const ssize_t written = ::write(wakeFd_.Get(), &one, sizeof one);
    } else {
        QMetaObject::invokeMethod(
            fallback_.get(), [this] { RunPending(); }, Qt::QueuedConnection);
    }
}

void QtTaskQueue::RunPending() {
    // The counter is reset before the queue is read, so a task pushed meanwhile wakes again.
    if (wakeFd_.IsValid()) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t got = ::read(wakeFd_.Get(), &count, sizeof count);
    }
    {
        std::lock_guard<std::mutex> lock(lock_);
        wakePending_ = false;
    }
    for (;;) {
        std::function<void()> task;
        bool wake = false;
        {
            std::lock_guard<std::mutex> lock(lock_);
            if (tasks_.empty()) {
                return;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
            // The task may run a nested loop (a modal dialog): the tasks behind it then run in
            // that loop.
            if (!tasks_.empty() && !wakePending_) {
                wakePending_ = true;
                wake = true;
            }
        }
        if (wake) {
            Wake();
        }
        task();
    }
}
