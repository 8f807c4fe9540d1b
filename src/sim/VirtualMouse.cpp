#include "sim/VirtualMouse.h"

#include <algorithm>

#include "sim/WriteCommands.h"

namespace sim {

VirtualMouse::VirtualMouse(MouseIdentity identity)
    : identity_(std::move(identity)), settings_(MouseSettings::Factory(identity_.sensorId)) {
}

InputReport VirtualMouse::Handle(const Request& request, std::size_t writeLength) {
    log_.Add(request, writeLength);
    if (RequestChecksum(request) != request[kChecksumByte]) {
        return MakeReply(request, ReplyStatus::Refused);
    }
    std::lock_guard lock(mutex_);
    const InputReport reply = HandleLocked(request);
    KeepChangesLocked();
    return reply;
}

InputReport VirtualMouse::HandleLocked(const Request& request) {
    const std::uint8_t code = request[1];
    if (code == command::kInfo) {
        if (request[2] != 0 || request[3] != 0 || request[4] != 0) {
            return MakeReply(request, ReplyStatus::BadPayload);
        }
        return MakeInfoReply(request, identity_, battery_, 1);
    }
    if (code == command::kMacro) {
        return HandleMacroPacket(request);
    }
    if (IsSingleWriteCommand(code)) {
        const ReplyStatus status = ApplyWrite(request, identity_, settings_);
        if (code == command::kFactoryReset && status == ReplyStatus::Accepted) {
            macro_.Reset();
        }
        return MakeReply(request, status);
    }
    if (IsReadCommand(code)) {
        return FillReadReply(request, identity_, settings_);
    }
    return MakeReply(request, ReplyStatus::UnknownCommand);
}

InputReport VirtualMouse::HandleMacroPacket(const Request& request) {
    if (request[2] != 0) {
        return MakeReply(request, ReplyStatus::BadPayload);
    }
    switch (macro_.Add(request[3], request[4], &request[kPayloadFirst])) {
        case MacroAssembler::Outcome::Accepted:
            return MakeReply(request, ReplyStatus::Accepted);
        case MacroAssembler::Outcome::Completed: {
            const std::vector<std::uint8_t>& blob = macro_.Blob();
            settings_.macros[blob.front()] = blob;
            return MakeReply(request, ReplyStatus::Accepted);
        }
        case MacroAssembler::Outcome::Refused:
            break;
    }
    return MakeReply(request, ReplyStatus::BadPayload);
}

InputReport VirtualMouse::InfoReply(const Request& request, std::uint8_t linkByte) const {
    std::lock_guard lock(mutex_);
    return MakeInfoReply(request, identity_, battery_, linkByte);
}

void VirtualMouse::PressDpiButton() {
    InputReport report;
    {
        std::lock_guard lock(mutex_);
        DpiStages& dpi = settings_.dpi;
        if (dpi.count == 0) {
            return;
        }
        dpi.selected = static_cast<std::uint8_t>((dpi.EffectiveStage() + 1) % dpi.count);
        report = MakeUnaskedReport(kDpiStageReport,
                                   {static_cast<std::uint8_t>((dpi.selected << 4) | dpi.count)});
        KeepChangesLocked();
    }
    NotifyReport(report);
}

void VirtualMouse::SetBattery(BatteryState battery) {
    {
        std::lock_guard lock(mutex_);
        battery_ = battery;
    }
    NotifyBattery(battery);
}

BatteryState VirtualMouse::Battery() const {
    std::lock_guard lock(mutex_);
    return battery_;
}

MouseSettings VirtualMouse::Settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

void VirtualMouse::ReplaceSettings(const MouseSettings& settings) {
    std::lock_guard lock(mutex_);
    settings_ = settings;
    KeepChangesLocked();
}

void VirtualMouse::KeepSettingsWith(SettingsKeeper keeper) {
    std::lock_guard lock(mutex_);
    keeper_ = std::move(keeper);
    kept_ = settings_;
}

void VirtualMouse::KeepChangesLocked() {
    // Comparing after every request, rather than marking the writes that change something, keeps
    // every way the memory can change covered, the factory reset and a finished macro included.
    if (keeper_ && settings_ != kept_ && keeper_(settings_)) {
        kept_ = settings_;
    }
}

std::vector<MacroEvent> VirtualMouse::MacroEvents(std::uint8_t button) const {
    std::lock_guard lock(mutex_);
    const auto found = settings_.macros.find(button);
    return found == settings_.macros.end() ? std::vector<MacroEvent>{}
                                           : DecodeMacroEvents(found->second);
}

void VirtualMouse::AddObserver(MouseObserver* observer) {
    std::lock_guard lock(observersMutex_);
    observers_.push_back(observer);
}

void VirtualMouse::RemoveObserver(MouseObserver* observer) {
    std::lock_guard lock(observersMutex_);
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void VirtualMouse::NotifyReport(const InputReport& report) {
    std::lock_guard lock(observersMutex_);
    for (MouseObserver* observer : observers_) {
        observer->OnMouseReport(report);
    }
}

void VirtualMouse::NotifyBattery(BatteryState battery) {
    std::lock_guard lock(observersMutex_);
    for (MouseObserver* observer : observers_) {
        observer->OnBatteryChanged(battery);
    }
}

}  // namespace sim
