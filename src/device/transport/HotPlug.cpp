#include "device/transport/HotPlug.h"

#include "device/transport/Trace.h"
#include "text/Format.h"

namespace {

constexpr std::uint16_t kConnectUsagePage = 0x0001;
constexpr std::uint16_t kConnectUsage = 0x0000;

// Interface names are ASCII; other characters stay as they are.
std::u16string UpperAscii(std::u16string_view text) {
    std::u16string upper(text);
    for (char16_t& c : upper) {
        if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - u'a' + u'A');
        }
    }
    return upper;
}

std::u16string DevicePattern(const DeviceEntry& entry) {
    return Format(u"VID_%04X&PID_%04X", entry.vendorId, entry.productId);
}

}  // namespace

void UpdateUSBDevice(int event, std::u16string_view devicePath, const ConnectionList& connections,
                     bool connected, const std::function<bool()>& hasConnectUsage,
                     const std::function<void(int)>& queue) {
    const std::u16string path = UpperAscii(devicePath);
    TraceFormat(u"UpdateUSBDevice path: %s", path);

    if (event == kDeviceArrival) {
        for (const DeviceEntry& entry : connections) {
            if (path.find(DevicePattern(entry)) == std::u16string::npos) {
                continue;
            }
            if (hasConnectUsage && hasConnectUsage() && queue) {
                queue(kHotPlugConnectCommand);
            }
            return;
        }
    } else if (event == kDeviceRemoval && connected) {
        for (const DeviceEntry& entry : connections) {
            if (path.find(DevicePattern(entry) + u"&MI_02") == std::u16string::npos) {
                continue;
            }
            if (queue) {
                queue(kHotPlugRemovalCommand);
            }
            return;
        }
    }
}

bool HasConnectUsage(HidBackend& backend, const std::string& path) {
    for (const HidDeviceInfo& info : backend.Enumerate()) {
        if (info.path == path && info.usagePage == kConnectUsagePage &&
            info.usage == kConnectUsage) {
            return true;
        }
    }
    return false;
}
