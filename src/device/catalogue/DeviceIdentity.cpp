#include "device/catalogue/DeviceIdentity.h"

int ResolveDeviceType(const std::vector<DeviceIdentity>& identities, std::uint32_t vendorId,
                      std::uint32_t productId, std::u16string_view deviceId) {
    for (const DeviceIdentity& identity : identities) {
        if (identity.vendorId != vendorId || identity.productId != productId) {
            continue;
        }
        // An identity without a full device id claims every device with its ids, so a model
        // listed that way hides any later model sharing the same vendor and product id.
        if (identity.deviceId.size() < 4) {
            return kDeviceTypeWithoutId;
        }
        if (identity.deviceId == deviceId) {
            return identity.deviceType;
        }
    }
    return kDeviceTypeNone;
}
