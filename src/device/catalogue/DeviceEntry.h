#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One model, or one way of connecting a model, as the device list of config.xml names it. A model
// entry (ModelList) fills the first four fields; a connection entry (ConnectionList) is a copy of
// its model's entry completed with the fields of one `mode` element.
struct DeviceEntry {
    std::u16string name;         // caption in the device list
    int deviceType = 0;          // the model's type number
    std::u16string deviceAttr;   // file stem of the descriptor and of the settings database
    std::u16string picturePath;  // skin folder + "device/" + image
    int mode = 0;                // 0 cable, 1 through the receiver
    std::uint32_t vendorId = 0;
    std::uint32_t productId = 0;
    std::u16string deviceId;      // four characters the mouse reports; shorter means "any"
    std::u16string description;   // kept, not used
    std::u16string hidInterface;  // kept, not used

    bool operator==(const DeviceEntry&) const = default;
};

// One entry per `mouse` element, in file order.
using ModelList = std::vector<DeviceEntry>;
// One entry per `mode` element, in file order.
using ConnectionList = std::vector<DeviceEntry>;
