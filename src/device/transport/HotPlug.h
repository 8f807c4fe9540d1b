#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "device/catalogue/DeviceEntry.h"
#include "device/transport/HidBackend.h"

// The reaction to a HID interface arriving or leaving: whether the worker must connect, or must
// handle the removal of the connected mouse.

inline constexpr int kDeviceArrival = 0x8000;
inline constexpr int kDeviceRemoval = 0x8004;

// Worker commands the hot-plug rule queues.
inline constexpr int kHotPlugConnectCommand = 2;
inline constexpr int kHotPlugRemovalCommand = 3;

// `devicePath` is the interface name of the notification (upper or lower case), for example
// "\\?\HID#VID_1A2B&PID_00C3&MI_02#...". The path is upper-cased and traced
// ("UpdateUSBDevice path: %s"), then `connections` is scanned in order for the first entry whose
// pattern occurs in it, and the scan stops at that entry whatever happens there:
// - kDeviceArrival: pattern "VID_%04X&PID_%04X" (upper-case hexadecimal); `queue` gets
//   kHotPlugConnectCommand when `hasConnectUsage()` says the interface's top-level collection is
//   usage page 0x0001, usage 0x0000.
// - kDeviceRemoval, only while `connected`: pattern "VID_%04X&PID_%04X&MI_02"; `queue` gets
//   kHotPlugRemovalCommand.
// Other events, and paths no entry matches, do nothing. `hasConnectUsage` is asked at most once,
// and only for a matching arrival.
void UpdateUSBDevice(int event, std::u16string_view devicePath, const ConnectionList& connections,
                     bool connected, const std::function<bool()>& hasConnectUsage,
                     const std::function<void(int)>& queue);

// Whether the interface `path` (a hidraw devnode, as enumeration reports it) has a top-level
// collection with usage page 0x0001 and usage 0x0000, read from `backend`'s enumeration. An
// interface with several top-level collections is listed once for each; any of them counts. False
// when enumeration does not list the path (it went away again).
bool HasConnectUsage(HidBackend& backend, const std::string& path);
