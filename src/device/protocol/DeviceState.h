#pragma once

#include <mutex>
#include <set>
#include <string>

#include "device/protocol/SensorInfo.h"

// What the main window knows about the connected mouse and its own choices, shared by the
// user-interface thread (pages read it, the button page sets the pending macro) and the device
// worker (the protocol writes what the mouse reports). Every accessor takes `mutex_` for its
// duration, so each call sees and leaves a consistent state; sequences of calls are not atomic
// unless one method does them (TakePendingMacro, MarkSynchronised).
class DeviceState {
public:
    DeviceState() = default;
    DeviceState(const DeviceState&) = delete;
    DeviceState& operator=(const DeviceState&) = delete;

    // The profile every page and command works on.
    int CurrentProfile() const;
    void SetCurrentProfile(int profile);

    // The lighting mode shown and sent.
    int CurrentLightMode() const;
    void SetCurrentLightMode(int mode);

    // A device of some model is open.
    bool Connected() const;
    void SetConnected(bool connected);
    // The mouse answers (wired, or linked to its receiver).
    bool Linked() const;
    void SetLinked(bool linked);

    // The sensor of the connected mouse (0 until one has reported) with its DPI range (50 to 26000
    // until then).
    int SensorId() const;
    SensorInfo Sensor() const;
    void SetSensor(int sensorId);

    // 4 to 7 (see ReportRateCapability).
    int ReportRateCapability() const;
    void SetReportRateCapability(int capability);

    // Bytes 12, 13 and 14 of the information reply.
    int BatteryState() const;
    int BatteryLevel() const;
    int LinkFlag() const;
    void SetBatteryState(int state);
    void SetBatteryLevel(int level);
    void SetLinkFlag(int link);

    // The DPI stage count and selected stage as the mouse last reported them.
    int ReportedDpiCount() const;
    int ReportedDpiIndex() const;
    void SetReportedDpiCount(int count);
    void SetReportedDpiIndex(int index);

    // Models whose settings were read back since the program started. MarkSynchronised adds
    // `deviceType` and tells whether it was new.
    bool IsSynchronised(int deviceType) const;
    bool MarkSynchronised(int deviceType);
    void ClearSynchronised();

    // The button whose macro must be uploaded before the next key table (set by the button page
    // when it assigns a macro). TakePendingMacro gives the button and clears the request; false
    // when none is pending.
    void SetPendingMacro(int button);
    bool HasPendingMacro() const;
    int PendingMacroButton() const;  // -1 when none
    bool TakePendingMacro(int& button);

    // The mouse's firmware version as read through the receiver ("%X%02X"), empty until read.
    std::u16string MouseFirmwareVersion() const;
    void SetMouseFirmwareVersion(const std::u16string& version);

private:
    mutable std::mutex mutex_;
    int currentProfile_ = 0;               // guarded by mutex_
    int currentLightMode_ = 0;             // guarded by mutex_
    bool connected_ = false;               // guarded by mutex_
    bool linked_ = false;                  // guarded by mutex_
    int sensorId_ = 0;                     // guarded by mutex_
    int reportRateCapability_ = 4;         // guarded by mutex_
    int batteryState_ = 0;                 // guarded by mutex_
    int batteryLevel_ = 0;                 // guarded by mutex_
    int linkFlag_ = 0;                     // guarded by mutex_
    int reportedDpiCount_ = 0;             // guarded by mutex_
    int reportedDpiIndex_ = 0;             // guarded by mutex_
    std::set<int> synchronised_;           // guarded by mutex_
    bool pendingMacro_ = false;            // guarded by mutex_
    int pendingMacroButton_ = -1;          // guarded by mutex_
    std::u16string mouseFirmwareVersion_;  // guarded by mutex_
};
