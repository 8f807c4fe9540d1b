#include "device/protocol/DeviceState.h"

using Lock = std::lock_guard<std::mutex>;

int DeviceState::CurrentProfile() const {
    Lock lock(mutex_);
    return currentProfile_;
}

void DeviceState::SetCurrentProfile(int profile) {
    Lock lock(mutex_);
    currentProfile_ = profile;
}

int DeviceState::CurrentLightMode() const {
    Lock lock(mutex_);
    return currentLightMode_;
}

void DeviceState::SetCurrentLightMode(int mode) {
    Lock lock(mutex_);
    currentLightMode_ = mode;
}

bool DeviceState::Connected() const {
    Lock lock(mutex_);
    return connected_;
}

void DeviceState::SetConnected(bool connected) {
    Lock lock(mutex_);
    connected_ = connected;
}

bool DeviceState::Linked() const {
    Lock lock(mutex_);
    return linked_;
}

void DeviceState::SetLinked(bool linked) {
    Lock lock(mutex_);
    linked_ = linked;
}

int DeviceState::SensorId() const {
    Lock lock(mutex_);
    return sensorId_;
}

SensorInfo DeviceState::Sensor() const {
    return SensorFor(SensorId());
}

void DeviceState::SetSensor(int sensorId) {
    Lock lock(mutex_);
    sensorId_ = sensorId;
}

int DeviceState::ReportRateCapability() const {
    Lock lock(mutex_);
    return reportRateCapability_;
}

void DeviceState::SetReportRateCapability(int capability) {
    Lock lock(mutex_);
    reportRateCapability_ = capability;
}

int DeviceState::BatteryState() const {
    Lock lock(mutex_);
    return batteryState_;
}

int DeviceState::BatteryLevel() const {
    Lock lock(mutex_);
    return batteryLevel_;
}

int DeviceState::LinkFlag() const {
    Lock lock(mutex_);
    return linkFlag_;
}

void DeviceState::SetBatteryState(int state) {
    Lock lock(mutex_);
    batteryState_ = state;
}

void DeviceState::SetBatteryLevel(int level) {
    Lock lock(mutex_);
    batteryLevel_ = level;
}

void DeviceState::SetLinkFlag(int link) {
    Lock lock(mutex_);
    linkFlag_ = link;
}

int DeviceState::ReportedDpiCount() const {
    Lock lock(mutex_);
    return reportedDpiCount_;
}

int DeviceState::ReportedDpiIndex() const {
    Lock lock(mutex_);
    return reportedDpiIndex_;
}

void DeviceState::SetReportedDpiCount(int count) {
    Lock lock(mutex_);
    reportedDpiCount_ = count;
}

void DeviceState::SetReportedDpiIndex(int index) {
    Lock lock(mutex_);
    reportedDpiIndex_ = index;
}

bool DeviceState::IsSynchronised(int deviceType) const {
    Lock lock(mutex_);
    return synchronised_.contains(deviceType);
}

bool DeviceState::MarkSynchronised(int deviceType) {
    Lock lock(mutex_);
    return synchronised_.insert(deviceType).second;
}

void DeviceState::ClearSynchronised() {
    Lock lock(mutex_);
    synchronised_.clear();
}

void DeviceState::SetPendingMacro(int button) {
    Lock lock(mutex_);
    pendingMacro_ = true;
    pendingMacroButton_ = button;
}

bool DeviceState::HasPendingMacro() const {
    Lock lock(mutex_);
    return pendingMacro_;
}

int DeviceState::PendingMacroButton() const {
    Lock lock(mutex_);
    return pendingMacroButton_;
}

bool DeviceState::TakePendingMacro(int& button) {
    Lock lock(mutex_);
    button = pendingMacroButton_;
    const bool pending = pendingMacro_;
    pendingMacro_ = false;
    pendingMacroButton_ = -1;
    return pending;
}

std::u16string DeviceState::MouseFirmwareVersion() const {
    Lock lock(mutex_);
    return mouseFirmwareVersion_;
}

void DeviceState::SetMouseFirmwareVersion(const std::u16string& version) {
    Lock lock(mutex_);
    mouseFirmwareVersion_ = version;
}
