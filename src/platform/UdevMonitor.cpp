#include "platform/UdevMonitor.h"

#include <errno.h>
#include <poll.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

#include "platform/UdevHidProperties.h"
#include "platform/WakeEvent.h"

namespace platform {

namespace {

// udevd announces itself with its control socket; without it, no "udev" events ever come.
const char* EventSource() {
    return ::access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel";
}

std::string Text(const char* value) {
    return value ? std::string(value) : std::string();
}

}  // namespace

UdevMonitor::~UdevMonitor() {
    Stop();
}

bool UdevMonitor::Start(Callback callback) {
    if (Running()) {
        return false;
    }
    UdevPtr udev(udev_new());
    if (!udev) {
        return false;
    }
    UdevMonitorPtr monitor(udev_monitor_new_from_netlink(udev.get(), EventSource()));
    if (!monitor) {
        return false;
    }
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor.get()) < 0 ||
        udev_monitor_get_fd(monitor.get()) < 0) {
        return false;
    }
    UniqueFd wake = MakeWakeEvent();
    if (!wake.IsValid()) {
        return false;
    }
    udev_ = std::move(udev);
    monitor_ = std::move(monitor);
    wake_ = std::move(wake);
    callback_ = std::move(callback);
    translator_ = HidEventTranslator();
    // Receiving is already on, so a node added during this scan is reported as well.
    RememberPresentNodes();
    thread_ = std::thread([this] { Run(); });
    return true;
}

void UdevMonitor::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    SignalWakeEvent(wake_);
    thread_.join();
    monitor_.reset();
    udev_.reset();
    wake_.Close();
    callback_ = nullptr;
}

void UdevMonitor::RememberPresentNodes() {
    UdevEnumeratePtr enumerate(udev_enumerate_new(udev_.get()));
    if (!enumerate || udev_enumerate_add_match_subsystem(enumerate.get(), "hidraw") < 0 ||
        udev_enumerate_scan_devices(enumerate.get()) < 0) {
        return;
    }
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
        UdevDevicePtr device(
            udev_device_new_from_syspath(udev_.get(), udev_list_entry_get_name(entry)));
        if (!device) {
            continue;
        }
        translator_.Remember(Text(udev_device_get_devnode(device.get())),
                             HidInterfaceName(ReadHidUdevProperties(device.get())));
    }
}

void UdevMonitor::Run() {
    pollfd fds[2] = {{udev_monitor_get_fd(monitor_.get()), POLLIN, 0}, {wake_.Get(), POLLIN, 0}};
    for (;;) {
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        if (fds[0].revents & (POLLHUP | POLLNVAL)) {
            // No further events can come; Stop still works.
            return;
        }
        // POLLERR is an overrun of the socket's buffer: the next receive reports and clears it,
        // and the events that still fit are taken.
        if (fds[0].revents & (POLLIN | POLLERR)) {
            Receive();
        }
    }
}

void UdevMonitor::Receive() {
    // The socket does not block: take everything that is there.
    while (UdevDevicePtr device{udev_monitor_receive_device(monitor_.get())}) {
        const std::string action = Text(udev_device_get_action(device.get()));
        const std::string devnode = Text(udev_device_get_devnode(device.get()));
        // A removed node's parents are usually gone; the translator then uses the arrival's name.
        std::u16string name;
        if (action == "add" || translator_.KnownName(devnode).empty()) {
            name = HidInterfaceName(ReadHidUdevProperties(device.get()));
        }
        if (auto event = translator_.Translate(action, devnode, name)) {
            callback_(event->event, std::move(event->interfaceName), std::move(event->devnode));
        }
    }
}

}  // namespace platform
