#pragma once

#include <array>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "device/worker/SilentWorkerView.h"

class DeviceState;
class SettingsStore;

// The pages of kestrelctl: instead of showing anything it records what the window would show
// (connection caption, device list with versions and batteries, DPI range, battery, firmware,
// report-rate capability, buttons, lighting zones, the model's firmware address) so that the
// commands can print it. The lighting page's refresh gives the active profile its lighting rows
// and makes its active mode the current one as the real page does, and the device list selects a
// model only when it is listed and online, like the window's.
//
// Called on the worker's thread while the commands read on the main thread: every field is
// guarded by `mutex_`.
class CliView : public SilentWorkerView {
public:
    struct ListedDevice {
        int mode = 0;
        int linkState = 0;
        int releaseNumber = -1;  // -1 until reported
        int batteryState = -1;   // -1 until reported
        int batteryLevel = -1;
    };

    CliView(SettingsStore& store, DeviceState& state);

    // What has been recorded (copies, taken under the lock).
    std::map<int, ListedDevice> Devices() const;
    int Caption() const;
    std::array<int, 2> DpiRange() const;
    std::array<int, 2> Battery() const;  // level, state; -1 until reported
    std::u16string MouseFirmware() const;
    int ReportRateCapability() const;
    std::vector<DescriptorButton> Buttons() const;
    // How often the performance page was refreshed: the worker does it after each successful
    // read of the mouse's settings.
    int PerformanceRefreshes() const;
    // The loaded model's firmware address, empty until a descriptor gave one.
    std::u16string FirmwareUrl() const;

    // Work for the worker's thread on the next command 27 (firmware update), where the window
    // runs its update: the firmware loader is reached only from that thread. Taken when it runs.
    void SetFirmwareJob(std::function<void()> job);
    bool HasFirmwareJob() const;

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
    void RefreshPerformancePage() override;
    void SetConnectionCaption(int textId) override;
    void SetAllDeviceState(int state) override;
    void SetDeviceState(int deviceType, int mode, int linkState) override;
    void SetDeviceVersion(int deviceType, int releaseNumber) override;
    void SetSelectDevice(int deviceType) override;
    int GetSelectDevice() override;
    int GetOnlineDevCount() override;
    void SetFirmwareUrl(const std::u16string& url) override;
    void SetButtons(const std::vector<DescriptorButton>& buttons,
                    const std::vector<DefaultAssignment>& defaults) override;
    void SetLightZones(const std::array<bool, 6>& zones) override;
    void UpdateFirmware() override;

private:
    bool Online(int deviceType) const;  // mutex_ held

    SettingsStore& store_;
    DeviceState& state_;

    mutable std::mutex mutex_;
    std::map<int, ListedDevice> devices_;    // device type -> list entry; guarded by mutex_
    int selected_ = 0;                       // guarded by mutex_
    int caption_ = 0;                        // guarded by mutex_
    std::array<int, 2> dpiRange_{};          // guarded by mutex_
    std::array<int, 2> battery_{-1, -1};     // guarded by mutex_
    std::u16string mouseFirmware_;           // guarded by mutex_
    int reportRateCapability_ = -1;          // guarded by mutex_
    std::vector<DescriptorButton> buttons_;  // guarded by mutex_
    std::array<bool, 6> zones_{};            // guarded by mutex_
    int performanceRefreshes_ = 0;           // guarded by mutex_
    std::u16string firmwareUrl_;             // guarded by mutex_
    std::function<void()> firmwareJob_;      // guarded by mutex_
};
