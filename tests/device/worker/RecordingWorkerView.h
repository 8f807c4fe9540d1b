#pragma once

#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "device/protocol/DeviceState.h"
#include "device/worker/WorkerView.h"
#include "store/ProfileDefaults.h"
#include "store/SettingsStore.h"
#include "text/Format.h"
#include "text/Utf.h"

// Every call the worker makes on the pages, as text, with a device list that behaves like the
// real one: it knows the models given a state, selects a model only when it is listed and
// online, and otherwise keeps (or, when that is gone, moves to the first online) selection.
// The lighting page seeds the profile's lighting rows as the real page does when it loads them.
// Thread-safe: the worker calls it on its thread while the test reads.
class RecordingWorkerView : public WorkerView {
public:
    RecordingWorkerView(SettingsStore& store, DeviceState& state) : store_(store), state_(state) {}

    std::vector<std::string> Calls() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
    }
    int Count(const std::string& call) const {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<int>(std::count(calls_.begin(), calls_.end(), call));
    }
    bool Has(const std::string& call) const { return Count(call) > 0; }
    void Clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.clear();
    }
    int Selected() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return selected_;
    }

    // DeviceView overrides
    void SetDpiRange(int lowest, int highest, std::u16string_view, std::u16string_view, int,
                     int) override {
        Record(Format(u"SetDpiRange %d %d", lowest, highest));
    }
    void SetBatteryInfo(int level, int state) override {
        Record(Format(u"SetBatteryInfo %d %d", level, state));
    }
    void SetDeviceBattery(int deviceType, int state, int level) override {
        Record(Format(u"SetDeviceBattery %d %d %d", deviceType, state, level));
    }
    void SetMouseFirmwareVersion(const std::u16string& versionText) override {
        Record(u"SetMouseFirmwareVersion " + versionText);
    }
    void RefreshLightingPage() override {
        std::array<bool, 6> zones{};
        {
            std::lock_guard<std::mutex> lock(mutex_);
            zones = zones_;
        }
        SeedDefaultLightModes(store_, state_.CurrentProfile(), zones);
        Record(u"RefreshLightingPage");
    }
    void SetReportRateCapability(int capability) override {
        Record(Format(u"SetReportRateCapability %d", capability));
    }

    // WorkerView overrides
    void RefreshProfileList() override { Record(u"RefreshProfileList"); }
    void RefreshButtonPage() override { Record(u"RefreshButtonPage"); }
    void RefreshMacroPage() override { Record(u"RefreshMacroPage"); }
    void RefreshDpiPage() override { Record(u"RefreshDpiPage"); }
    void RefreshPerformancePage() override { Record(u"RefreshPerformancePage"); }
    void SetConnectionCaption(int textId) override { Record(Format(u"Caption %d", textId)); }
    void SetAllDeviceState(int state) override {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& [type, link] : list_) {
            link = state;
        }
        calls_.push_back(ToUtf8(Format(u"SetAllDeviceState %d", state)));
    }
    void SetDeviceState(int deviceType, int mode, int linkState) override {
        std::lock_guard<std::mutex> lock(mutex_);
        list_[deviceType] = linkState;
        calls_.push_back(ToUtf8(Format(u"SetDeviceState %d %d %d", deviceType, mode, linkState)));
    }
    void SetDeviceVersion(int deviceType, int releaseNumber) override {
        Record(Format(u"SetDeviceVersion %d %d", deviceType, releaseNumber));
    }
    void SetSelectDevice(int deviceType) override {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back(ToUtf8(Format(u"SetSelectDevice %d", deviceType)));
        if (Online(deviceType)) {
            selected_ = deviceType;
        } else if (!Online(selected_)) {
            for (const auto& [type, link] : list_) {
                if (link == 1) {
                    selected_ = type;
                    break;
                }
            }
        }
    }
    int GetSelectDevice() override {
        std::lock_guard<std::mutex> lock(mutex_);
        return selected_;
    }
    int GetOnlineDevCount() override {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<int>(std::count_if(list_.begin(), list_.end(),
                                              [](const auto& entry) { return entry.second == 1; }));
    }
    void ShowHomeState() override { Record(u"HomeState"); }
    void ShowNoDeviceState() override { Record(u"NoDeviceState"); }
    void ShowDevicePageState() override { Record(u"DevicePageState"); }
    void ShowControl(int controlId, bool visible) override {
        Record(Format(u"ShowControl %d %d", controlId, visible ? 1 : 0));
    }
    void ClosePopups() override { Record(u"ClosePopups"); }
    void StopMacroRecording() override { Record(u"StopMacroRecording"); }
    void SelectDpiStageCount(int count) override { Record(Format(u"StageCount %d", count)); }
    void SelectDpiStage(int index) override { Record(Format(u"Stage %d", index)); }
    void SetDpiSliderProgress(int dpi) override { Record(Format(u"Slider %d", dpi)); }
    void ShowDpiIndicator(int dpi) override { Record(Format(u"Indicator %d", dpi)); }
    void SetProfileButtonName(const std::u16string& name) override {
        Record(u"ProfileName " + name);
    }
    void SetMousePicture(const std::u16string& imageFile) override {
        Record(u"Picture " + imageFile);
    }
    void ShowLightTab(bool visible) override { Record(Format(u"LightTab %d", visible ? 1 : 0)); }
    void SetOptionFlags(bool showDpiTips, bool showSaveTips, bool showLod,
                        bool showSensor) override {
        Record(Format(u"Options %d %d %d %d", showDpiTips ? 1 : 0, showSaveTips ? 1 : 0,
                      showLod ? 1 : 0, showSensor ? 1 : 0));
    }
    void SetFirmwareUrl(const std::u16string& url) override { Record(u"FirmwareUrl " + url); }
    void SetButtons(const std::vector<DescriptorButton>& buttons,
                    const std::vector<DefaultAssignment>& defaults) override {
        Record(Format(u"Buttons %d %d", static_cast<int>(buttons.size()),
                      static_cast<int>(defaults.size())));
    }
    void SetLightZones(const std::array<bool, 6>& zones) override {
        std::lock_guard<std::mutex> lock(mutex_);
        zones_ = zones;
        calls_.push_back("LightZones");
    }
    void CheckSoftwareVersion() override { Record(u"CheckSoftwareVersion"); }
    void CheckFirmwareVersion() override { Record(u"CheckFirmwareVersion"); }
    void DownloadInstaller() override { Record(u"DownloadInstaller"); }
    void UpdateFirmware() override { Record(u"UpdateFirmware"); }
    void CloseFirmwareUpdateDialog() override { Record(u"CloseFirmwareUpdateDialog"); }

private:
    void Record(const std::u16string& call) {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back(ToUtf8(call));
    }
    bool Online(int deviceType) const {  // mutex_ held
        const auto found = list_.find(deviceType);
        return found != list_.end() && found->second == 1;
    }

    SettingsStore& store_;
    DeviceState& state_;
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;  // guarded by mutex_
    std::map<int, int> list_;         // device type -> link state; guarded by mutex_
    int selected_ = 0;                // guarded by mutex_
    std::array<bool, 6> zones_{};     // guarded by mutex_
};
