#include "device/catalogue/UdevRule.h"

#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "device/catalogue/DeviceCatalog.h"
#include "text/Utf.h"

namespace {

// What udev compares ATTRS{idVendor} and ATTRS{idProduct} with: sysfs writes USB ids as four
// lower-case hexadecimal digits.
std::string UsbId(std::uint32_t id) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(id));
    return text;
}

bool IsUsbId(std::uint32_t id) {
    return id != 0 && id <= 0xFFFF;
}

// "Kestrel K2 Pro (receiver)". config.xml's names may hold any character; a line break in one
// would end the comment and start a rule line of the name's choosing, so control characters
// become spaces.
std::string ConnectionName(const DeviceEntry& connection) {
    std::string name = ToUtf8(connection.name);
    if (!connection.description.empty()) {
        name += " (" + ToUtf8(connection.description) + ")";
    }
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return name;
}

struct RuleLine {
    std::uint32_t vendorId;
    std::uint32_t productId;
    std::string names;
};

}  // namespace

std::string UdevRuleText(const DeviceCatalog& catalog) {
    // The K2 Wireless and the K2 Pro share their ids, so one line serves several connections.
    std::vector<RuleLine> lines;
    std::string skipped;
    for (const DeviceEntry& connection : catalog.Connections()) {
        const std::string name = ConnectionName(connection);
        if (!IsUsbId(connection.vendorId) || !IsUsbId(connection.productId)) {
            skipped += "# Skipped, no USB vendor and product id: " + name + "\n";
            continue;
        }
        bool merged = false;
        for (RuleLine& line : lines) {
            if (line.vendorId == connection.vendorId && line.productId == connection.productId) {
                line.names += ", " + name;
                merged = true;
                break;
            }
        }
        if (!merged) {
            lines.push_back({connection.vendorId, connection.productId, name});
        }
    }

    std::string text =
        "# Lets the user at the seat open the hidraw nodes of the mice and receivers that\n"
        "# config.xml lists, without root; nobody else gets access.\n"
        "# Written by the build from config.xml; change that file, not this one.\n"
        "# Installed to /usr/lib/udev/rules.d/ by the package. By hand:\n"
        "#   sudo cp 70-kestrel.rules /etc/udev/rules.d/ && sudo udevadm control --reload-rules\n"
        "# then plug the mouse (or its receiver) in again.\n";
    text += skipped;
    for (const RuleLine& line : lines) {
        text += "\n# " + line.names + "\n";
        text += "SUBSYSTEM==\"hidraw\", KERNEL==\"hidraw*\", ATTRS{idVendor}==\"" +
                UsbId(line.vendorId) + "\", ATTRS{idProduct}==\"" + UsbId(line.productId) +
                "\", TAG+=\"uaccess\"\n";
    }
    return text;
}
