#pragma once

#include <atomic>

#include "device/protocol/DeviceState.h"
#include "device/worker/DeviceCommandQueue.h"

// The main window's device state in one object: the protocol's shared state (profile, lighting
// mode, connected and linked flags, sensor, battery, synchronised models, pending macro, the DPI
// stages the mouse reported), the worker command queue and the count of commands the mouse did
// not acknowledge. The main window (or the command-line tool) owns it; the device worker and the
// pages hold references. Each part has its own lock.
struct DeviceSession {
    DeviceState state;
    DeviceCommandQueue queue;
    // Write commands the mouse did not acknowledge so far: counted by the worker, read by whoever
    // queued commands and must know how they went (kestrelctl's exit status).
    std::atomic<int> failures{0};
};
