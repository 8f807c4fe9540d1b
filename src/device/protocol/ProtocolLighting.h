#pragma once

#include "device/protocol/ProtocolContext.h"
#include "device/protocol/RequestReport.h"
#include "store/StoreRecords.h"

// The lighting effect: sending the current mode's settings (0x05) and reading the mouse's mode
// back (0x15).
class ProtocolLighting {
public:
    explicit ProtocolLighting(ProtocolContext& context) : context_(context) {}

    // Makes the current lighting mode the current profile's active one, then sends that mode's
    // record. Nothing is sent, and the result is true, when the profile has no record for the mode.
    bool SendLighting();

    // Reads the mouse's lighting mode: when the profile has a record for it, it becomes the
    // current mode and the profile's active one, and the brightness and speed it reports are
    // stored in that record; a mode without a record changes nothing. False, and nothing
    // changed, when the mouse does not answer.
    bool ReadLightingState();

    // The request SendLighting sends for `record` (exposed for the tests of each mode's layout).
    static RequestReport LightingRequest(const LightModeRecord& record);

private:
    ProtocolContext& context_;
};
