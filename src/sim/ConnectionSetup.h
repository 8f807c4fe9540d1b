#pragma once

#include <cstdint>
#include <string>

struct DeviceEntry;

namespace sim {

struct MouseIdentity;

// How one virtual USB device (a mouse on its cable, or a receiver) presents itself.
struct ConnectionSetup {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t releaseNumber = 0;
    std::u16string productString;
    int mode = 0;        // 0 the mouse on its cable, 1 a receiver
    bool linked = true;  // receiver: its mouse is linked from the start

    // The device of a catalogue connection entry carrying `mouse`: the entry's ids and mode; a
    // cable shows the mouse's product string and its firmware version as release number, a
    // receiver its own name and version.
    static ConnectionSetup ForEntry(const DeviceEntry& entry, const MouseIdentity& mouse);
};

// Release number of a virtual receiver's own firmware.
inline constexpr std::uint16_t kReceiverRelease = 0x0101;

}  // namespace sim
