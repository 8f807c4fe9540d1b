#pragma once

#include <string>

namespace platform {

// What udev tells about one hidraw node, taken from its parents. Every field is the text exactly
// as udev gives it, empty when udev has none.
struct HidUdevProperties {
    // HID_ID of the "hid" parent: bus, vendor and product as hexadecimal numbers,
    // "0003:00003E7A:00000C02".
    std::string hidId;
    // HID_PHYS of the "hid" parent; for USB the port path and the interface in decimal,
    // "usb-0000:00:14.0-2/input2".
    std::string hidPhys;
    // The bInterfaceNumber attribute of the USB interface parent, two hexadecimal digits ("02").
    std::string interfaceNumber;
    // The bNumInterfaces attribute of the USB device parent, decimal, padded with blanks (" 3").
    std::string interfaceCount;
};

// The name Windows would give the HID device interface, for example
//
//     \\?\HID#VID_3E7A&PID_0C02&MI_02#7&1f6c2d0a&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}
//
// so that code written against Windows interface names can match vendor, product and interface in
// it. Vendor and product are four upper-case hexadecimal digits. "&MI_" and the interface number
// in two upper-case hexadecimal digits follow when the interface number is known (bInterfaceNumber,
// else the "/inputN" end of HID_PHYS) and the device is not known to have a single interface
// (Windows names the interfaces of composite devices only). The instance part is a hash of
// HID_PHYS (else of HID_ID), so it is stable for a port and differs between the interfaces of one
// device; nobody should read meaning into it.
//
// Only USB devices (bus 0003) get a name: the catalogue knows USB models only. A missing or
// malformed HID_ID, another bus, or a vendor or product id beyond 16 bits give an empty text.
std::u16string HidInterfaceName(const HidUdevProperties& properties);

}  // namespace platform
