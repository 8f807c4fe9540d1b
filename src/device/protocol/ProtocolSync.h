#pragma once

#include "device/protocol/ProtocolContext.h"
#include "device/protocol/ProtocolLighting.h"

// Reading the mouse's facts and settings after a connection.
class ProtocolSync {
public:
    ProtocolSync(ProtocolContext& context, ProtocolLighting& lighting)
        : context_(context), lighting_(lighting) {}

    // Takes the sensor, report-rate capability, battery and link bytes from the selected device's
    // information reply and shows them. False (after the failure handling) when the mouse is not
    // reachable. Otherwise, the first time in the run for the current model, reads the mouse's
    // settings into the current profile (report rate, DPI stages and colours, lighting, lift-off
    // and sensor options, sleep and debounce) and, when `full` is set and the mouse is behind its
    // receiver, its firmware version. A read the mouse does not answer is skipped.
    bool SyncFromDevice(bool full);

private:
    // The information-reply part: the state and the pages.
    void TakeInfoReply();
    void ReadSettings(bool full);

    ProtocolContext& context_;
    ProtocolLighting& lighting_;
};
