#pragma once

#include <cstddef>

#include "sim/DeviceReports.h"

namespace sim {

// What answers the requests written to a connection's command interface: the mouse itself over a
// cable, or a receiver that forwards to its mouse.
class CommandEndpoint {
public:
    virtual ~CommandEndpoint() = default;

    // The reply to one request (65 bytes, zero beyond `writeLength`).
    virtual InputReport Handle(const Request& request, std::size_t writeLength) = 0;
};

}  // namespace sim
