#pragma once

#include <string>

#include "platform/UdevMonitor.h"

class DeviceCatalog;
class HidBackend;
struct DeviceSession;

// Turns HID arrivals and removals into the worker's connect and removal commands by the
// catalogue's matching rule (UpdateUSBDevice). The programs start it; tests call OnDeviceChange
// directly. The handler runs on the monitor's thread: it reads the catalogue (fixed once loaded),
// the connected flag (under the device state's lock) and appends to the command queue (under the
// queue's lock), so it needs no lock of its own.
class HotPlugWatcher {
public:
    HotPlugWatcher(const DeviceCatalog& catalog, DeviceSession& session, HidBackend& backend);
    ~HotPlugWatcher();
    HotPlugWatcher(const HotPlugWatcher&) = delete;
    HotPlugWatcher& operator=(const HotPlugWatcher&) = delete;

    // Starts watching hidraw; false when udev cannot be had (the program then works without
    // hot-plug, as after a start with the mouse already plugged in).
    bool Start();
    void Stop();

    // One arrival (0x8000) or removal (0x8004) of the hidraw node `devnode`, named as Windows
    // names HID interfaces.
    void OnDeviceChange(int event, const std::u16string& interfaceName, const std::string& devnode);

private:
    const DeviceCatalog& catalog_;
    DeviceSession& session_;
    HidBackend& backend_;
    platform::UdevMonitor monitor_;
};
