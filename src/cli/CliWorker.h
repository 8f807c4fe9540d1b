#pragma once

#include <atomic>

#include "device/worker/DeviceWorker.h"

// The device worker as kestrelctl runs it: the same worker, which also counts the write commands
// the mouse did not acknowledge, so that a command can end with exit status 1.
class CliWorker : public DeviceWorker {
public:
    using DeviceWorker::DeviceWorker;
    ~CliWorker() override;

    // Unacknowledged write commands so far.
    int Failures() const { return failures_.load(); }

    // CommandFailureHandler overrides
    void OnCommandFailed() override;

private:
    std::atomic<int> failures_{0};  // written on the worker's thread, read on the main thread
};
