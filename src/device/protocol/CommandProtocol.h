#pragma once

#include "device/protocol/CommandFailureHandler.h"
#include "device/protocol/DeviceState.h"
#include "device/protocol/DeviceView.h"
#include "device/protocol/ProtocolButtons.h"
#include "device/protocol/ProtocolContext.h"
#include "device/protocol/ProtocolLighting.h"
#include "device/protocol/ProtocolReset.h"
#include "device/protocol/ProtocolSettings.h"
#include "device/protocol/ProtocolSync.h"
#include "device/transport/DeviceManager.h"
#include "store/SettingsStore.h"

// Every command the device worker sends to the mouse, built from the current profile's settings
// (`DeviceState::CurrentProfile`) and the shared device state. Write commands return whether the
// mouse acknowledged; an unacknowledged one has been traced and handed to the failure handler
// (except the macro upload and the two resets, whose failures are only reported by the result).
//
// Used on the device worker's thread only; it keeps no state of its own beyond the references.
class CommandProtocol {
public:
    CommandProtocol(DeviceManager& manager, SettingsStore& store, DeviceState& state,
                    DeviceView& view, CommandFailureHandler& failure);
    CommandProtocol(const CommandProtocol&) = delete;
    CommandProtocol& operator=(const CommandProtocol&) = delete;

    bool SendReportRate() { return settings_.SendReportRate(); }
    bool SendDpiStages() { return settings_.SendDpiStages(); }
    bool SendDpiColors() { return settings_.SendDpiColors(); }
    bool SendLiftoffSensor() { return settings_.SendLiftoffSensor(); }
    bool SendPowerOptions() { return settings_.SendPowerOptions(); }
    bool SendLighting() { return lighting_.SendLighting(); }
    bool UploadMacro(int button, int macroId) { return buttons_.UploadMacro(button, macroId); }
    bool SendButtonTable() { return buttons_.SendButtonTable(); }
    bool ResetLighting() { return reset_.ResetLighting(); }
    bool FactoryReset() { return reset_.FactoryReset(); }
    bool SyncFromDevice(bool full) { return sync_.SyncFromDevice(full); }

private:
    ProtocolContext context_;
    ProtocolSettings settings_;
    ProtocolLighting lighting_;
    ProtocolButtons buttons_;
    ProtocolSync sync_;
    ProtocolReset reset_;
};
