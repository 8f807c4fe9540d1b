#pragma once

#include "cli/CliView.h"

// The pages of the running program as its device worker sees them, with kestrelctl's records kept
// beside them: every call goes on to the main window, and what kestrelctl prints (device list,
// versions, battery, DPI range, buttons, ...) is recorded as CliView records it. The program puts
// it between its worker and its window, so that a command line handed to the running program
// finds the same facts a kestrelctl of its own would have gathered.
//
// The window's answers count (the device list's selection and online count), the lighting page's
// refresh is the window's own, and a firmware update runs kestrelctl's job when one is waiting,
// else the window's update. Thread rules are the window's and CliView's.
class HostedCliView : public CliView {
public:
    HostedCliView(SettingsStore& store, DeviceState& state, WorkerView& window);

    // DeviceView overrides
    void SetDpiRange(int lowest, int highest, std::u16string_view rangeText,
                     std::u16string_view stepText, int sliderPositions,
                     int sliderStartOffset) override;
    void SetBatteryInfo(int level, int state) override;
    void SetDeviceBattery(int deviceType, int state, int level) override;
    void SetMouseFirmwareVersion(const std::u16string& versionText) override;
    void RefreshLightingPage() override;
    void SetReportRateCapability(int capability) override;

    // WorkerView overrides
    void RefreshProfileList() override;
    void RefreshButtonPage() override;
    void RefreshMacroPage() override;
    void RefreshDpiPage() override;
    void RefreshPerformancePage() override;
    void SetConnectionCaption(int textId) override;
    void SetAllDeviceState(int state) override;
    void SetDeviceState(int deviceType, int mode, int linkState) override;
    void SetDeviceVersion(int deviceType, int releaseNumber) override;
    void SetSelectDevice(int deviceType) override;
    int GetSelectDevice() override;
    int GetOnlineDevCount() override;
    void ShowHomeState() override;
    void ShowNoDeviceState() override;
    void ShowDevicePageState() override;
    void ShowControl(int controlId, bool visible) override;
    void ClosePopups() override;
    void StopMacroRecording() override;
    void SelectDpiStageCount(int count) override;
    void SelectDpiStage(int index) override;
    void SetDpiSliderProgress(int dpi) override;
    void ShowDpiIndicator(int dpi) override;
    void SetProfileButtonName(const std::u16string& name) override;
    void SetMousePicture(const std::u16string& imageFile) override;
    void ShowLightTab(bool visible) override;
    void SetOptionFlags(bool showDpiTips, bool showSaveTips, bool showLod,
                        bool showSensor) override;
    void SetFirmwareUrl(const std::u16string& url) override;
    void SetButtons(const std::vector<DescriptorButton>& buttons,
                    const std::vector<DefaultAssignment>& defaults) override;
    void SetLightZones(const std::array<bool, 6>& zones) override;
    void CheckSoftwareVersion() override;
    void ShowFirmwareVersions() override;
    void CheckFirmwareVersion() override;
    void DownloadInstaller() override;
    void UpdateFirmware() override;
    void CloseFirmwareUpdateDialog() override;

private:
    WorkerView& window_;
};
