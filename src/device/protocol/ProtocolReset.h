#pragma once

#include "device/protocol/ProtocolContext.h"
#include "device/protocol/ProtocolLighting.h"

// The two resets the mouse performs itself. Neither result counts as a failure.
class ProtocolReset {
public:
    ProtocolReset(ProtocolContext& context, ProtocolLighting& lighting)
        : context_(context), lighting_(lighting) {}

    // Request 00 0E 00 01 01 01; after 100 ms reads the mouse's lighting state into the store and
    // refreshes the lighting page. The result is whether the reset was acknowledged.
    bool ResetLighting();
    // Request 00 0F 00 01 01 FF. The result is whether it was acknowledged.
    bool FactoryReset();

private:
    ProtocolContext& context_;
    ProtocolLighting& lighting_;
};
