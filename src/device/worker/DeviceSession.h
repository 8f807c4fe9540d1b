#pragma once

#include "device/protocol/DeviceState.h"
#include "device/worker/DeviceCommandQueue.h"

// The main window's device state in one object: the protocol's shared state (profile, lighting
// mode, connected and linked flags, sensor, battery, synchronised models, pending macro, the DPI
// stages the mouse reported) and the worker command queue. The main window (or the command-line
// tool) owns it; the device worker and the pages hold references. Each part has its own lock.
struct DeviceSession {
    DeviceState state;
    DeviceCommandQueue queue;
};
