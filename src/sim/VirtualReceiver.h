#pragma once

#include <memory>
#include <mutex>

#include "sim/CommandEndpoint.h"
#include "sim/MouseObserver.h"
#include "sim/ReportSink.h"
#include "sim/VirtualMouse.h"

namespace sim {

// A 2.4 GHz receiver with the mouse it is paired to. While the mouse is linked, requests go
// through to it and its reports come back. While it is not, the receiver answers the information
// request itself (the paired mouse's identity, battery bytes 0, link byte 14 = 0) and refuses
// every other request (status NotLinked). Linking, unlinking and battery changes of a linked
// mouse send the link report: 0xC0, 1 linked / 0 not, battery level, battery state (both 0
// when not linked).
class VirtualReceiver : public CommandEndpoint, public MouseObserver {
public:
    VirtualReceiver(std::shared_ptr<VirtualMouse> mouse, ReportSink& sink, bool linked);
    ~VirtualReceiver() override;
    VirtualReceiver(const VirtualReceiver&) = delete;
    VirtualReceiver& operator=(const VirtualReceiver&) = delete;

    // The mouse comes into reach (switched on, in range) or leaves it. A call that changes
    // nothing sends nothing.
    void Link();
    void Unlink();
    bool IsLinked() const;

    // CommandEndpoint overrides
    InputReport Handle(const Request& request, std::size_t writeLength) override;

    // MouseObserver overrides
    void OnMouseReport(const InputReport& report) override;
    void OnBatteryChanged(BatteryState battery) override;

private:
    void SetLinked(bool linked);

    std::shared_ptr<VirtualMouse> mouse_;
    ReportSink& sink_;

    mutable std::mutex mutex_;
    bool linked_;  // guarded by mutex_
};

}  // namespace sim
