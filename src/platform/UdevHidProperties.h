#pragma once

#include "platform/HidInterfaceName.h"

struct udev_device;

namespace platform {

// Reads what HidInterfaceName needs from a hidraw node's parents: HID_ID and HID_PHYS of the "hid"
// parent, bInterfaceNumber of the USB interface and bNumInterfaces of the USB device. Fields udev
// cannot give (no such parent, a node already gone) stay empty. `hidraw` stays the caller's.
HidUdevProperties ReadHidUdevProperties(udev_device* hidraw);

}  // namespace platform
