#include "cli/CliView.h"

#include <algorithm>
#include <utility>

#include "device/protocol/DeviceState.h"
#include "store/ProfileDefaults.h"
#include "store/SettingsStore.h"

CliView::CliView(SettingsStore& store, DeviceState& state) : store_(store), state_(state) {
}

std::map<int, CliView::ListedDevice> CliView::Devices() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return devices_;
}

int CliView::Caption() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return caption_;
}

std::array<int, 2> CliView::DpiRange() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return dpiRange_;
}

std::array<int, 2> CliView::Battery() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return battery_;
}

std::u16string CliView::MouseFirmware() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return mouseFirmware_;
}

int CliView::ReportRateCapability() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reportRateCapability_;
}

std::vector<DescriptorButton> CliView::Buttons() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return buttons_;
}

int CliView::PerformanceRefreshes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return performanceRefreshes_;
}

std::u16string CliView::FirmwareUrl() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return firmwareUrl_;
}

void CliView::SetFirmwareJob(std::function<void()> job) {
    std::lock_guard<std::mutex> lock(mutex_);
    firmwareJob_ = std::move(job);
}

bool CliView::HasFirmwareJob() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return firmwareJob_ != nullptr;
}

void CliView::SetDpiRange(int lowest, int highest, std::u16string_view, std::u16string_view, int,
                          int) {
    std::lock_guard<std::mutex> lock(mutex_);
    dpiRange_ = {lowest, highest};
}

void CliView::SetBatteryInfo(int level, int state) {
    std::lock_guard<std::mutex> lock(mutex_);
    battery_ = {level, state};
}

void CliView::SetDeviceBattery(int deviceType, int state, int level) {
    std::lock_guard<std::mutex> lock(mutex_);
    ListedDevice& device = devices_[deviceType];
    device.batteryState = state;
    device.batteryLevel = level;
}

void CliView::SetMouseFirmwareVersion(const std::u16string& versionText) {
    std::lock_guard<std::mutex> lock(mutex_);
    mouseFirmware_ = versionText;
}

void CliView::RefreshLightingPage() {
    std::array<bool, 6> zones{};
    {
        std::lock_guard<std::mutex> lock(mutex_);
        zones = zones_;
    }
    const int profile = state_.CurrentProfile();
    SeedDefaultLightModes(store_, profile, zones);
    // The page shows the profile's active mode, and what it shows is what command 8 sends: a
    // profile switched to or read from a file keeps its own mode.
    state_.SetCurrentLightMode(store_.GetActiveLightMode(profile));
}

void CliView::SetReportRateCapability(int capability) {
    std::lock_guard<std::mutex> lock(mutex_);
    reportRateCapability_ = capability;
}

void CliView::RefreshPerformancePage() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++performanceRefreshes_;
}

void CliView::SetConnectionCaption(int textId) {
    std::lock_guard<std::mutex> lock(mutex_);
    caption_ = textId;
}

void CliView::SetAllDeviceState(int state) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& [type, device] : devices_) {
        device.linkState = state;
    }
}

void CliView::SetDeviceState(int deviceType, int mode, int linkState) {
    std::lock_guard<std::mutex> lock(mutex_);
    ListedDevice& device = devices_[deviceType];
    device.mode = mode;
    device.linkState = linkState;
}

void CliView::SetDeviceVersion(int deviceType, int releaseNumber) {
    std::lock_guard<std::mutex> lock(mutex_);
    devices_[deviceType].releaseNumber = releaseNumber;
}

void CliView::SetSelectDevice(int deviceType) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Online(deviceType)) {
        selected_ = deviceType;
    } else if (!Online(selected_)) {
        for (const auto& [type, device] : devices_) {
            if (device.linkState == 1) {
                selected_ = type;
                break;
            }
        }
    }
}

int CliView::GetSelectDevice() {
    std::lock_guard<std::mutex> lock(mutex_);
    return selected_;
}

int CliView::GetOnlineDevCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(std::count_if(devices_.begin(), devices_.end(), [](const auto& entry) {
        return entry.second.linkState == 1;
    }));
}

void CliView::SetFirmwareUrl(const std::u16string& url) {
    std::lock_guard<std::mutex> lock(mutex_);
    firmwareUrl_ = url;
}

void CliView::SetButtons(const std::vector<DescriptorButton>& buttons,
                         const std::vector<DefaultAssignment>&) {
    std::lock_guard<std::mutex> lock(mutex_);
    buttons_ = buttons;
}

void CliView::SetLightZones(const std::array<bool, 6>& zones) {
    std::lock_guard<std::mutex> lock(mutex_);
    zones_ = zones;
}

void CliView::UpdateFirmware() {
    std::function<void()> job;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job = std::move(firmwareJob_);
        firmwareJob_ = nullptr;
    }
    // Outside the lock: the transfer takes long and its progress reads nothing of this view.
    if (job) {
        job();
    }
}

bool CliView::Online(int deviceType) const {
    const auto found = devices_.find(deviceType);
    return found != devices_.end() && found->second.linkState == 1;
}
