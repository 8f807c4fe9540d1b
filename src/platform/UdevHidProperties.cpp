#include "platform/UdevHidProperties.h"

#include <libudev.h>

namespace platform {

namespace {

std::string Text(const char* value) {
    return value ? std::string(value) : std::string();
}

}  // namespace

HidUdevProperties ReadHidUdevProperties(udev_device* hidraw) {
    HidUdevProperties properties;
    if (!hidraw) {
        return properties;
    }
    // The parents belong to `hidraw`; they are not unreferenced here.
    if (udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr)) {
        properties.hidId = Text(udev_device_get_property_value(hid, "HID_ID"));
        properties.hidPhys = Text(udev_device_get_property_value(hid, "HID_PHYS"));
    }
    if (udev_device* usbInterface =
            udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_interface")) {
        properties.interfaceNumber =
            Text(udev_device_get_sysattr_value(usbInterface, "bInterfaceNumber"));
    }
    if (udev_device* usbDevice =
            udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device")) {
        properties.interfaceCount =
            Text(udev_device_get_sysattr_value(usbDevice, "bNumInterfaces"));
    }
    return properties;
}

}  // namespace platform
