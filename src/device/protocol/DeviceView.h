#pragma once

#include <string>
#include <string_view>

// What the device protocol changes on the main window's pages. The main window implements it over
// its controls; the command-line tool and the tests implement it too. Called on the device
// worker's thread.
class DeviceView {
public:
    virtual ~DeviceView() = default;

    // The DPI slider's range: lowest and highest DPI, the description texts for the range and the
    // step, the number of slider positions and the start offset added to a slider position.
    virtual void SetDpiRange(int lowest, int highest, std::u16string_view rangeText,
                             std::u16string_view stepText, int sliderPositions,
                             int sliderStartOffset) = 0;
    // The battery indicator (BatteryCtrl::SetBatteryInfo).
    virtual void SetBatteryInfo(int level, int state) = 0;
    // The battery shown for a model in the device list (CDeviceList::SetDeviceBattery).
    virtual void SetDeviceBattery(int deviceType, int state, int level) = 0;
    // The mouse's firmware version as read through the receiver ("%X%02X" of two bytes).
    virtual void SetMouseFirmwareVersion(const std::u16string& versionText) = 0;
    // Reload the lighting page from the store.
    virtual void RefreshLightingPage() = 0;
    // Which report rates the performance page offers (see ReportRateCapability).
    virtual void SetReportRateCapability(int capability) = 0;
};
