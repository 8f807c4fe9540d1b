#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How the device manager recognises one way of connecting a model: one identity per connection
// entry of the catalogue, in catalogue order.
struct DeviceIdentity {
    std::uint32_t vendorId = 0;
    std::uint32_t productId = 0;
    std::u16string devicePath;  // always empty; the identity names a kind of device, not one
    int deviceType = 0;
    int mode = 0;
    std::u16string deviceId;

    bool operator==(const DeviceIdentity&) const = default;
};

// Device type given to a device whose catalogue entry carries no usable device id.
inline constexpr int kDeviceTypeWithoutId = 101;
// Device type of a device that matches no model.
inline constexpr int kDeviceTypeNone = 0;

// The model of an opened device, from its vendor and product id and the device id it reported.
// Identities with other vendor or product ids are skipped; among the rest, in order, the first
// whose device id is shorter than four characters gives kDeviceTypeWithoutId, the first whose
// device id equals `deviceId` exactly (case-sensitive) gives its device type. Otherwise
// kDeviceTypeNone.
int ResolveDeviceType(const std::vector<DeviceIdentity>& identities, std::uint32_t vendorId,
                      std::uint32_t productId, std::u16string_view deviceId);
