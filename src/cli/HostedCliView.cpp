#include "cli/HostedCliView.h"

HostedCliView::HostedCliView(SettingsStore& store, DeviceState& state, WorkerView& window)
    : CliView(store, state), window_(window) {
}

void HostedCliView::SetDpiRange(int lowest, int highest, std::u16string_view rangeText,
                                std::u16string_view stepText, int sliderPositions,
                                int sliderStartOffset) {
    window_.SetDpiRange(lowest, highest, rangeText, stepText, sliderPositions, sliderStartOffset);
    CliView::SetDpiRange(lowest, highest, rangeText, stepText, sliderPositions, sliderStartOffset);
}

void HostedCliView::SetBatteryInfo(int level, int state) {
    window_.SetBatteryInfo(level, state);
    CliView::SetBatteryInfo(level, state);
}

void HostedCliView::SetDeviceBattery(int deviceType, int state, int level) {
    window_.SetDeviceBattery(deviceType, state, level);
    CliView::SetDeviceBattery(deviceType, state, level);
}

void HostedCliView::SetMouseFirmwareVersion(const std::u16string& versionText) {
    window_.SetMouseFirmwareVersion(versionText);
    CliView::SetMouseFirmwareVersion(versionText);
}

void HostedCliView::RefreshLightingPage() {
    // The window's lighting page seeds the profile's modes and picks the current one itself.
    window_.RefreshLightingPage();
}

void HostedCliView::SetReportRateCapability(int capability) {
    window_.SetReportRateCapability(capability);
    CliView::SetReportRateCapability(capability);
}

void HostedCliView::RefreshProfileList() {
    window_.RefreshProfileList();
}

void HostedCliView::RefreshButtonPage() {
    window_.RefreshButtonPage();
}

void HostedCliView::RefreshMacroPage() {
    window_.RefreshMacroPage();
}

void HostedCliView::RefreshDpiPage() {
    window_.RefreshDpiPage();
}

void HostedCliView::RefreshPerformancePage() {
    window_.RefreshPerformancePage();
    CliView::RefreshPerformancePage();
}

void HostedCliView::SetConnectionCaption(int textId) {
    window_.SetConnectionCaption(textId);
    CliView::SetConnectionCaption(textId);
}

void HostedCliView::SetAllDeviceState(int state) {
    window_.SetAllDeviceState(state);
    CliView::SetAllDeviceState(state);
}

void HostedCliView::SetDeviceState(int deviceType, int mode, int linkState) {
    window_.SetDeviceState(deviceType, mode, linkState);
    CliView::SetDeviceState(deviceType, mode, linkState);
}

void HostedCliView::SetDeviceVersion(int deviceType, int releaseNumber) {
    window_.SetDeviceVersion(deviceType, releaseNumber);
    CliView::SetDeviceVersion(deviceType, releaseNumber);
}

void HostedCliView::SetSelectDevice(int deviceType) {
    window_.SetSelectDevice(deviceType);
    CliView::SetSelectDevice(deviceType);
}

int HostedCliView::GetSelectDevice() {
    return window_.GetSelectDevice();
}

int HostedCliView::GetOnlineDevCount() {
    return window_.GetOnlineDevCount();
}

void HostedCliView::ShowHomeState() {
    window_.ShowHomeState();
}

void HostedCliView::ShowNoDeviceState() {
    window_.ShowNoDeviceState();
}

void HostedCliView::ShowDevicePageState() {
    window_.ShowDevicePageState();
}

void HostedCliView::ShowControl(int controlId, bool visible) {
    window_.ShowControl(controlId, visible);
}

void HostedCliView::ClosePopups() {
    window_.ClosePopups();
}

void HostedCliView::StopMacroRecording() {
    window_.StopMacroRecording();
}

void HostedCliView::SelectDpiStageCount(int count) {
    window_.SelectDpiStageCount(count);
}

void HostedCliView::SelectDpiStage(int index) {
    window_.SelectDpiStage(index);
}

void HostedCliView::SetDpiSliderProgress(int dpi) {
    window_.SetDpiSliderProgress(dpi);
}

void HostedCliView::ShowDpiIndicator(int dpi) {
    window_.ShowDpiIndicator(dpi);
}

void HostedCliView::SetProfileButtonName(const std::u16string& name) {
    window_.SetProfileButtonName(name);
}

void HostedCliView::SetMousePicture(const std::u16string& imageFile) {
    window_.SetMousePicture(imageFile);
}

void HostedCliView::ShowLightTab(bool visible) {
    window_.ShowLightTab(visible);
}

void HostedCliView::SetOptionFlags(bool showDpiTips, bool showSaveTips, bool showLod,
                                   bool showSensor) {
    window_.SetOptionFlags(showDpiTips, showSaveTips, showLod, showSensor);
}

void HostedCliView::SetFirmwareUrl(const std::u16string& url) {
    window_.SetFirmwareUrl(url);
    CliView::SetFirmwareUrl(url);
}

void HostedCliView::SetButtons(const std::vector<DescriptorButton>& buttons,
                               const std::vector<DefaultAssignment>& defaults) {
    window_.SetButtons(buttons, defaults);
    CliView::SetButtons(buttons, defaults);
}

void HostedCliView::SetLightZones(const std::array<bool, 6>& zones) {
    window_.SetLightZones(zones);
    CliView::SetLightZones(zones);
}

void HostedCliView::CheckSoftwareVersion() {
    window_.CheckSoftwareVersion();
}

void HostedCliView::ShowFirmwareVersions() {
    window_.ShowFirmwareVersions();
}

void HostedCliView::CheckFirmwareVersion() {
    window_.CheckFirmwareVersion();
}

void HostedCliView::DownloadInstaller() {
    window_.DownloadInstaller();
}

void HostedCliView::UpdateFirmware() {
    // Command 27 queued by a handed-over "flash" carries its own image; any other is the window's.
    if (HasFirmwareJob()) {
        CliView::UpdateFirmware();
    } else {
        window_.UpdateFirmware();
    }
}

void HostedCliView::CloseFirmwareUpdateDialog() {
    window_.CloseFirmwareUpdateDialog();
}
