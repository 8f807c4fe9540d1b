#pragma once

// Talking to a virtual connection through the HidDevice interface, as the host does.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "SimRequests.h"
#include "device/transport/HidBackend.h"
#include "sim/VirtualConnection.h"
#include "sim/VirtualHidBackend.h"

namespace simtest {

// A generous time-out for reports that are there already or come at once.
inline constexpr int kPatientMs = 2000;

inline std::unique_ptr<HidDevice> OpenInterface(sim::VirtualHidBackend& backend,
                                                const sim::VirtualConnection& connection,
                                                int interfaceNumber) {
    return backend.Open(connection.PathOf(interfaceNumber));
}

inline std::unique_ptr<HidDevice> OpenCommand(sim::VirtualHidBackend& backend,
                                              const sim::VirtualConnection& connection) {
    return OpenInterface(backend, connection, sim::VirtualConnection::kCommandInterface);
}

// Reads one report (up to `maxLength` bytes); empty when none came in `timeoutMs`.
inline Bytes ReadReport(HidDevice& device, int timeoutMs = kPatientMs, std::size_t maxLength = 65) {
    Bytes report(maxLength);
    const int read = device.Read(report.data(), report.size(), timeoutMs);
    report.resize(read > 0 ? static_cast<std::size_t>(read) : 0);
    return report;
}

// Writes `request` (`length` bytes) and reads the next report into as many bytes, as the host
// does.
inline Bytes Exchange(HidDevice& device, const Request65& request, std::size_t length = 33) {
    EXPECT_EQ(device.Write(request.data(), length), static_cast<int>(length));
    return ReadReport(device, kPatientMs, length);
}

// A cable or receiver connection with its own mouse.
inline sim::VirtualConnection& AddTestConnection(sim::VirtualHidBackend& backend, int mode,
                                                 bool linked = true) {
    sim::MouseIdentity identity;
    identity.deviceId = "K2A1";
    identity.productString = u"Test Mouse";
    sim::ConnectionSetup setup;
    setup.vendorId = 0x3E7A;
    setup.productId = mode == 0 ? 0x0C02 : 0x0C03;
    setup.releaseNumber = mode == 0 ? 0x0103 : 0x0101;
    setup.productString = mode == 0 ? u"Test Mouse" : u"Test Receiver";
    setup.mode = mode;
    setup.linked = linked;
    return backend.AddConnection(setup, std::make_shared<sim::VirtualMouse>(identity));
}

}  // namespace simtest
