#pragma once

#include <atomic>

#include "device/worker/WorkerView.h"

// Pages that show nothing, for programs and measurements without a window. Only the device
// list's selection is kept, so that the worker's model selection finds the model it was told to
// show. Front ends override what they want to record.
class SilentWorkerView : public WorkerView {
public:
    // DeviceView overrides
    void SetDpiRange(int, int, std::u16string_view, std::u16string_view, int, int) override {}
    void SetBatteryInfo(int, int) override {}
    void SetDeviceBattery(int, int, int) override {}
    void SetMouseFirmwareVersion(const std::u16string&) override {}
    void RefreshLightingPage() override {}
    void SetReportRateCapability(int) override {}

    // WorkerView overrides
    void RefreshProfileList() override {}
    void RefreshButtonPage() override {}
    void RefreshMacroPage() override {}
    void RefreshDpiPage() override {}
    void RefreshPerformancePage() override {}
    void SetConnectionCaption(int) override {}
    void SetAllDeviceState(int) override {}
    void SetDeviceState(int, int, int) override {}
    void SetDeviceVersion(int, int) override {}
    void SetSelectDevice(int deviceType) override { selected_ = deviceType; }
    int GetSelectDevice() override { return selected_; }
    int GetOnlineDevCount() override { return selected_ != 0 ? 1 : 0; }
    void ShowHomeState() override {}
    void ShowNoDeviceState() override {}
    void ShowDevicePageState() override {}
    void ShowControl(int, bool) override {}
    void ClosePopups() override {}
    void StopMacroRecording() override {}
    void SelectDpiStageCount(int) override {}
    void SelectDpiStage(int) override {}
    void SetDpiSliderProgress(int) override {}
    void ShowDpiIndicator(int) override {}
    void SetProfileButtonName(const std::u16string&) override {}
    void SetMousePicture(const std::u16string&) override {}
    void ShowLightTab(bool) override {}
    void SetOptionFlags(bool, bool, bool, bool) override {}
    void SetFirmwareUrl(const std::u16string&) override {}
    void SetButtons(const std::vector<DescriptorButton>&,
                    const std::vector<DefaultAssignment>&) override {}
    void SetLightZones(const std::array<bool, 6>&) override {}

private:
    std::atomic<int> selected_{0};  // set and read on the worker's thread; atomic for readers
};
