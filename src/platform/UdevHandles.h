#pragma once

#include <libudev.h>

#include <memory>

namespace platform {

// Owners of libudev's reference-counted handles: each drops its reference when it goes out of
// scope. Move-only, like the unique_ptr they are. A parent device found with
// udev_device_get_parent* belongs to its child and must not be wrapped.

struct UdevUnref {
    void operator()(udev* handle) const { udev_unref(handle); }
    void operator()(udev_monitor* handle) const { udev_monitor_unref(handle); }
    void operator()(udev_device* handle) const { udev_device_unref(handle); }
    void operator()(udev_enumerate* handle) const { udev_enumerate_unref(handle); }
};

using UdevPtr = std::unique_ptr<udev, UdevUnref>;
using UdevMonitorPtr = std::unique_ptr<udev_monitor, UdevUnref>;
using UdevDevicePtr = std::unique_ptr<udev_device, UdevUnref>;
using UdevEnumeratePtr = std::unique_ptr<udev_enumerate, UdevUnref>;

}  // namespace platform
