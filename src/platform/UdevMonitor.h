#pragma once

#include <functional>
#include <string>
#include <thread>

#include "platform/HidEventTranslator.h"
#include "platform/UdevHandles.h"
#include "platform/UniqueFd.h"

namespace platform {

// Watches hidraw nodes come and go, the stand-in for registering for HID device-interface
// notifications: each node udev adds or removes becomes a call of the callback with kHidArrival
// (0x8000) or kHidRemoval (0x8004), the node's Windows-style interface name (HidInterfaceName)
// and its devnode. Nodes that are not USB HID interfaces are not reported.
//
// Events come from udev once its rules have run (so the node's permissions are final); where no
// udev daemon runs (containers), straight from the kernel. The callback runs on the monitor's own
// thread, one event at a time; it must not throw and must not call Stop.
//
// Start and Stop belong to one controlling thread. Not copyable or movable: the thread refers to
// the object.
class UdevMonitor {
public:
    using Callback =
        std::function<void(int event, std::u16string interfaceName, std::string devnode)>;

    UdevMonitor() = default;
    ~UdevMonitor();
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    // Opens the monitor, learns the names of the hidraw nodes present now (so their removal can be
    // named) and starts the thread. False, with nothing running, when it is already running or
    // udev or its netlink socket cannot be had.
    bool Start(Callback callback);
    // Wakes the thread and waits for it; promptly, whatever the thread was waiting for. Does
    // nothing when not running.
    void Stop();
    bool Running() const { return thread_.joinable(); }

private:
    void Run();
    void RememberPresentNodes();
    void Receive();

    // Set by Start before the thread starts and released by Stop after it ended; in between only
    // the monitor thread uses them (wake_ is written by Stop, which the eventfd allows).
    UdevPtr udev_;
    UdevMonitorPtr monitor_;
    UniqueFd wake_;
    Callback callback_;
    HidEventTranslator translator_;
    std::thread thread_;
};

}  // namespace platform
