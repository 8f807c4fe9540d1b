#pragma once

#include <cstdint>

#include "sim/DeviceReports.h"
#include "sim/ReadCommands.h"

namespace sim {

// What a connection hears from the mouse it carries, besides replies: reports the mouse sends on
// its own and changes of its battery. Called on the thread of the user action, with none of the
// mouse's locks held.
class MouseObserver {
public:
    virtual ~MouseObserver() = default;

    // A report the mouse sends unasked (the DPI stage report 0xC2).
    virtual void OnMouseReport(const InputReport& report) = 0;
    virtual void OnBatteryChanged(BatteryState battery) = 0;
};

}  // namespace sim
