#include "sim/CableEndpoint.h"

namespace sim {

CableEndpoint::CableEndpoint(std::shared_ptr<VirtualMouse> mouse, ReportSink& sink)
    : mouse_(std::move(mouse)), sink_(sink) {
    mouse_->AddObserver(this);
}

CableEndpoint::~CableEndpoint() {
    mouse_->RemoveObserver(this);
}

InputReport CableEndpoint::Handle(const Request& request, std::size_t writeLength) {
    return mouse_->Handle(request, writeLength);
}

void CableEndpoint::OnMouseReport(const InputReport& report) {
    sink_.PushUnasked(report);
}

void CableEndpoint::OnBatteryChanged(BatteryState) {
}

}  // namespace sim
