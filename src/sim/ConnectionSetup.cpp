#include "sim/ConnectionSetup.h"

#include "device/catalogue/DeviceEntry.h"
#include "sim/MouseIdentity.h"

namespace sim {

ConnectionSetup ConnectionSetup::ForEntry(const DeviceEntry& entry, const MouseIdentity& mouse) {
    ConnectionSetup setup;
    setup.vendorId = static_cast<std::uint16_t>(entry.vendorId);
    setup.productId = static_cast<std::uint16_t>(entry.productId);
    setup.mode = entry.mode;
    if (entry.mode == 1) {
        setup.releaseNumber = kReceiverRelease;
        setup.productString = u"2.4G Wireless Receiver";
    } else {
        setup.releaseNumber = mouse.firmwareVersion;
        setup.productString = mouse.productString;
    }
    return setup;
}

}  // namespace sim
