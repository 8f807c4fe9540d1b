#pragma once

#include <cstdint>
#include <memory>

#include "device/transport/HidBackend.h"
#include "sim/InputQueue.h"
#include "sim/VirtualConnection.h"

namespace sim {

// An opened interface of a virtual connection, with its own queue of input reports. It stays
// bound to the plug-in it was opened under: once the connection is unplugged every call fails,
// even after it is plugged in again.
class VirtualHidDevice : public HidDevice {
public:
    VirtualHidDevice(std::shared_ptr<VirtualConnection> connection, int interfaceNumber,
                     VirtualConnection::Attachment attachment);

    // HidDevice overrides
    int Write(const std::uint8_t* data, std::size_t length) override;
    int Read(std::uint8_t* data, std::size_t length, int timeoutMs) override;
    bool ProductString(std::u16string& text) override;
    void CancelReads() override;

private:
    std::shared_ptr<VirtualConnection> connection_;
    int interfaceNumber_;
    std::uint64_t generation_;
    std::shared_ptr<InputQueue> queue_;
};

}  // namespace sim
