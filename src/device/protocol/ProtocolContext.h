#pragma once

#include <cstddef>
#include <string_view>

#include "device/protocol/CommandFailureHandler.h"
#include "device/protocol/DeviceState.h"
#include "device/protocol/DeviceView.h"
#include "device/protocol/RequestReport.h"
#include "device/transport/DeviceManager.h"
#include "store/SettingsStore.h"

// What every group of protocol commands works with: the device manager that carries the
// exchanges, the settings of the current profile, the shared device state, the pages and the
// worker's failure handling. Used on the device worker's thread only.
class ProtocolContext {
public:
    ProtocolContext(DeviceManager& manager, SettingsStore& store, DeviceState& state,
                    DeviceView& view, CommandFailureHandler& failure);
    ProtocolContext(const ProtocolContext&) = delete;
    ProtocolContext& operator=(const ProtocolContext&) = delete;

    DeviceManager& Manager() { return manager_; }
    SettingsStore& Store() { return store_; }
    DeviceState& State() { return state_; }
    DeviceView& View() { return view_; }

    int Profile() const { return state_.CurrentProfile(); }
    // A configuration key of the current profile as a number (0 when missing or not a number).
    int ReadInt(std::u16string_view key);
    // Stores `value` as "%d" text under a key of the current profile.
    void WriteInt(std::u16string_view key, int value);

    // One exchange: sends `request` with `length` bytes and leaves the reply in it. True when the
    // mouse acknowledged.
    bool Exchange(RequestReport& request, std::size_t length);
    // A write command: on a missing acknowledgement writes `failureTrace` (when not empty) and runs
    // the worker's failure handling.
    bool SendWrite(RequestReport& request, std::size_t length, std::u16string_view failureTrace);
    void CommandFailed();

private:
    DeviceManager& manager_;
    SettingsStore& store_;
    DeviceState& state_;
    DeviceView& view_;
    CommandFailureHandler& failure_;
};
