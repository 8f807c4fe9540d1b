#include "sim/VirtualReceiver.h"

namespace sim {

VirtualReceiver::VirtualReceiver(std::shared_ptr<VirtualMouse> mouse, ReportSink& sink, bool linked)
    : mouse_(std::move(mouse)), sink_(sink), linked_(linked) {
    mouse_->AddObserver(this);
}

VirtualReceiver::~VirtualReceiver() {
    mouse_->RemoveObserver(this);
}

void VirtualReceiver::Link() {
    SetLinked(true);
}

void VirtualReceiver::Unlink() {
    SetLinked(false);
}

bool VirtualReceiver::IsLinked() const {
    std::lock_guard lock(mutex_);
    return linked_;
}

void VirtualReceiver::SetLinked(bool linked) {
    {
        std::lock_guard lock(mutex_);
        if (linked_ == linked) {
            return;
        }
        linked_ = linked;
    }
    if (linked) {
        const BatteryState battery = mouse_->Battery();
        sink_.PushUnasked(MakeUnaskedReport(kLinkReport, {1, battery.level, battery.state}));
    } else {
        sink_.PushUnasked(MakeUnaskedReport(kLinkReport, {0, 0, 0}));
    }
}

InputReport VirtualReceiver::Handle(const Request& request, std::size_t writeLength) {
    if (IsLinked()) {
        return mouse_->Handle(request, writeLength);
    }
    if (RequestChecksum(request) != request[kChecksumByte]) {
        return MakeReply(request, ReplyStatus::Refused);
    }
    if (request[1] != command::kInfo) {
        return MakeReply(request, ReplyStatus::NotLinked);
    }
    return MakeInfoReply(request, mouse_->Identity(), BatteryState{0, 0}, 0);
}

void VirtualReceiver::OnMouseReport(const InputReport& report) {
    if (IsLinked()) {
        sink_.PushUnasked(report);
    }
}

void VirtualReceiver::OnBatteryChanged(BatteryState battery) {
    if (IsLinked()) {
        sink_.PushUnasked(MakeUnaskedReport(kLinkReport, {1, battery.level, battery.state}));
    }
}

}  // namespace sim
