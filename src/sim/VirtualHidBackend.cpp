#include "sim/VirtualHidBackend.h"

#include <charconv>

#include "sim/VirtualHidDevice.h"

namespace sim {

namespace {

// Splits "sim:<n>:<interface>"; false for anything else.
bool ParsePath(const std::string& path, int& number, int& interfaceNumber) {
    constexpr std::string_view kPrefix = "sim:";
    if (path.compare(0, kPrefix.size(), kPrefix) != 0) {
        return false;
    }
    const char* first = path.data() + kPrefix.size();
    const char* end = path.data() + path.size();
    auto [afterNumber, numberError] = std::from_chars(first, end, number);
    if (numberError != std::errc() || afterNumber == first || afterNumber == end ||
        *afterNumber != ':') {
        return false;
    }
    auto [afterInterface, interfaceError] = std::from_chars(afterNumber + 1, end, interfaceNumber);
    return interfaceError == std::errc() && afterInterface == end &&
           afterInterface != afterNumber + 1;
}

}  // namespace

VirtualHidBackend::~VirtualHidBackend() = default;

VirtualConnection& VirtualHidBackend::AddConnection(const DeviceEntry& entry, int sensorId) {
    return AddConnection(entry,
                         std::make_shared<VirtualMouse>(MouseIdentity::ForEntry(entry, sensorId)));
}

VirtualConnection& VirtualHidBackend::AddConnection(const DeviceEntry& entry,
                                                    std::shared_ptr<VirtualMouse> mouse) {
    const ConnectionSetup setup = ConnectionSetup::ForEntry(entry, mouse->Identity());
    return AddConnection(setup, std::move(mouse));
}

VirtualConnection& VirtualHidBackend::AddConnection(const ConnectionSetup& setup,
                                                    std::shared_ptr<VirtualMouse> mouse) {
    std::shared_ptr<VirtualConnection> connection;
    PlugListener listener;
    {
        std::lock_guard lock(mutex_);
        const int number = static_cast<int>(connections_.size()) + 1;
        connection = std::make_shared<VirtualConnection>(number, setup, std::move(mouse));
        connection->SetTimeScale(timeScale_);
        connection->SetPlugListener(plugListener_);
        connections_.push_back(connection);
        listener = plugListener_;
    }
    if (listener) {
        for (int i = 0; i < VirtualConnection::kInterfaceCount; ++i) {
            listener(PlugEvent::Arrival, connection->InterfaceName(i));
        }
    }
    return *connection;
}

VirtualConnection* VirtualHidBackend::Connection(int number) const {
    std::lock_guard lock(mutex_);
    if (number < 1 || number > static_cast<int>(connections_.size())) {
        return nullptr;
    }
    return connections_[number - 1].get();
}

std::vector<VirtualConnection*> VirtualHidBackend::Connections() const {
    std::lock_guard lock(mutex_);
    std::vector<VirtualConnection*> list;
    for (const auto& connection : connections_) {
        list.push_back(connection.get());
    }
    return list;
}

void VirtualHidBackend::SetTimeScale(double scale) {
    std::lock_guard lock(mutex_);
    timeScale_ = scale;
    for (const auto& connection : connections_) {
        connection->SetTimeScale(scale);
    }
}

void VirtualHidBackend::SetPlugListener(PlugListener listener) {
    std::lock_guard lock(mutex_);
    plugListener_ = std::move(listener);
    for (const auto& connection : connections_) {
        connection->SetPlugListener(plugListener_);
    }
}

std::vector<HidDeviceInfo> VirtualHidBackend::Enumerate() {
    std::lock_guard lock(mutex_);
    std::vector<HidDeviceInfo> list;
    for (const auto& connection : connections_) {
        for (HidDeviceInfo& info : connection->Interfaces()) {
            list.push_back(std::move(info));
        }
    }
    return list;
}

std::shared_ptr<VirtualConnection> VirtualHidBackend::Find(const std::string& path,
                                                           int& interfaceNumber) const {
    int number = 0;
    if (!ParsePath(path, number, interfaceNumber)) {
        return nullptr;
    }
    std::lock_guard lock(mutex_);
    if (number < 1 || number > static_cast<int>(connections_.size())) {
        return nullptr;
    }
    return connections_[number - 1];
}

std::unique_ptr<HidDevice> VirtualHidBackend::Open(const std::string& path) {
    int interfaceNumber = 0;
    std::shared_ptr<VirtualConnection> connection = Find(path, interfaceNumber);
    if (!connection || connection->Faults().OpensDenied()) {
        return nullptr;
    }
    VirtualConnection::Attachment attachment = connection->Attach(interfaceNumber);
    if (!attachment.queue) {
        return nullptr;
    }
    return std::make_unique<VirtualHidDevice>(std::move(connection), interfaceNumber,
                                              std::move(attachment));
}

HidOpenFailure VirtualHidBackend::WhyOpenFails(const std::string& path) {
    int interfaceNumber = 0;
    const std::shared_ptr<VirtualConnection> connection = Find(path, interfaceNumber);
    if (!connection || !connection->IsPlugged() || interfaceNumber < 0 ||
        interfaceNumber >= VirtualConnection::kInterfaceCount) {
        return HidOpenFailure::NotFound;
    }
    return connection->Faults().OpensDenied() ? HidOpenFailure::PermissionDenied
                                              : HidOpenFailure::Unknown;
}

}  // namespace sim
