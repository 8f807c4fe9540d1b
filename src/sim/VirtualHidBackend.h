#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/catalogue/DeviceEntry.h"
#include "device/transport/HidBackend.h"
#include "sim/ConnectionSetup.h"
#include "sim/MouseIdentity.h"
#include "sim/VirtualConnection.h"
#include "sim/VirtualMouse.h"

namespace sim {

// HID access to virtual mice hosted in this process: enumeration lists the interfaces of every
// connection plugged in now, with paths "sim:<n>:<interface>", and Open gives a handle on one.
// Connections are numbered from 1 in the order they are added and live as long as the backend.
// Thread-safe: a test adds connections and drives user actions while the device worker reads.
class VirtualHidBackend : public HidBackend {
public:
    VirtualHidBackend() = default;
    ~VirtualHidBackend() override;
    VirtualHidBackend(const VirtualHidBackend&) = delete;
    VirtualHidBackend& operator=(const VirtualHidBackend&) = delete;

    // A connection of a catalogue entry (mode 0 cable, 1 receiver) with a new mouse of that
    // model carrying `sensorId`.
    VirtualConnection& AddConnection(const DeviceEntry& entry, int sensorId = kDefaultSensorId);
    // A connection of a catalogue entry carrying a given mouse, so that a cable and a receiver
    // can reach the same mouse.
    VirtualConnection& AddConnection(const DeviceEntry& entry, std::shared_ptr<VirtualMouse> mouse);
    VirtualConnection& AddConnection(const ConnectionSetup& setup,
                                     std::shared_ptr<VirtualMouse> mouse);

    // Connection number n (from 1), or nullptr.
    VirtualConnection* Connection(int number) const;
    std::vector<VirtualConnection*> Connections() const;

    // Every read waits `scale` times the time-out it asks for (applies to connections added
    // later too). Tests of failure paths use it to avoid waiting out real time-outs.
    void SetTimeScale(double scale);
    // Told of every interface that arrives or leaves: connections added, unplugged, plugged in.
    void SetPlugListener(PlugListener listener);

    // HidBackend overrides
    std::vector<HidDeviceInfo> Enumerate() override;
    // Fails, too, on a connection whose faults deny opens.
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
    // PermissionDenied for an interface of a plugged-in connection whose faults deny opens,
    // NotFound for a path of no interface plugged in now, else Unknown.
    HidOpenFailure WhyOpenFails(const std::string& path) override;

private:
    // The connection a path names, or nullptr; `interfaceNumber` gets the interface it names.
    std::shared_ptr<VirtualConnection> Find(const std::string& path, int& interfaceNumber) const;

    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<VirtualConnection>> connections_;  // guarded by mutex_
    double timeScale_ = 1.0;                                       // guarded by mutex_
    PlugListener plugListener_;                                    // guarded by mutex_
};

}  // namespace sim
