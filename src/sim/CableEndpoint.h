#pragma once

#include <memory>

#include "sim/CommandEndpoint.h"
#include "sim/MouseObserver.h"
#include "sim/ReportSink.h"
#include "sim/VirtualMouse.h"

namespace sim {

// A mouse on its cable: every request goes to the mouse, and the mouse's own reports go out on
// the command interface. Battery changes send nothing (only a receiver reports them).
class CableEndpoint : public CommandEndpoint, public MouseObserver {
public:
    CableEndpoint(std::shared_ptr<VirtualMouse> mouse, ReportSink& sink);
    ~CableEndpoint() override;
    CableEndpoint(const CableEndpoint&) = delete;
    CableEndpoint& operator=(const CableEndpoint&) = delete;

    // CommandEndpoint overrides
    InputReport Handle(const Request& request, std::size_t writeLength) override;

    // MouseObserver overrides
    void OnMouseReport(const InputReport& report) override;
    void OnBatteryChanged(BatteryState battery) override;

private:
    std::shared_ptr<VirtualMouse> mouse_;
    ReportSink& sink_;
};

}  // namespace sim
