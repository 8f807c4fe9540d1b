#include "sim/VirtualConnection.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <thread>

#include "sim/CableEndpoint.h"

namespace sim {

namespace {

// A report's latency, kept to within a few microseconds: the scheduler wakes a sleeping thread
// up to a tenth of a millisecond late, which would count as the host's time in the benchmarks,
// so the last stretch is waited out by polling the clock.
void WaitPrecisely(std::chrono::microseconds latency) {
    if (latency.count() <= 0) {
        return;
    }
    constexpr auto kPollingStretch = std::chrono::microseconds(150);
    const auto deadline = std::chrono::steady_clock::now() + latency;
    if (latency > kPollingStretch) {
        std::this_thread::sleep_until(deadline - kPollingStretch);
    }
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
}

constexpr std::uint8_t kCommandReportId = 0x00;
constexpr std::uint8_t kUpdateReportId = 0x05;

struct InterfaceKind {
    std::uint16_t usagePage;
    std::uint16_t usage;
};

constexpr std::array<InterfaceKind, VirtualConnection::kInterfaceCount> kInterfaces{{
    {0x0001, 0x0002},  // pointer
    {0xFFEF, 0x0000},  // firmware update
    {0x0001, 0x0000},  // commands
}};

bool IsInterface(int interfaceNumber) {
    return interfaceNumber >= 0 && interfaceNumber < VirtualConnection::kInterfaceCount;
}

}  // namespace

VirtualConnection::VirtualConnection(int number, ConnectionSetup setup,
                                     std::shared_ptr<VirtualMouse> mouse)
    : number_(number), setup_(std::move(setup)), mouse_(std::move(mouse)) {
    ReportSink& sink = *this;
    if (setup_.mode == 1) {
        auto receiver = std::make_unique<VirtualReceiver>(mouse_, sink, setup_.linked);
        receiver_ = receiver.get();
        endpoint_ = std::move(receiver);
    } else {
        endpoint_ = std::make_unique<CableEndpoint>(mouse_, sink);
    }
}

VirtualConnection::~VirtualConnection() = default;

void VirtualConnection::Unplug() {
    {
        std::lock_guard lock(mutex_);
        if (!plugged_) {
            return;
        }
        plugged_ = false;
        ++generation_;
        for (auto& readers : readers_) {
            for (const std::weak_ptr<InputQueue>& reader : readers) {
                if (auto queue = reader.lock()) {
                    queue->Close();
                }
            }
            readers.clear();
        }
    }
    NotifyPlug(PlugEvent::Removal);
}

void VirtualConnection::Plug() {
    {
        std::lock_guard lock(mutex_);
        if (plugged_) {
            return;
        }
        ++generation_;
        plugged_ = true;
    }
    NotifyPlug(PlugEvent::Arrival);
}

bool VirtualConnection::IsPlugged() const {
    std::lock_guard lock(mutex_);
    return plugged_;
}

void VirtualConnection::SetPlugListener(PlugListener listener) {
    std::lock_guard lock(mutex_);
    plugListener_ = std::move(listener);
}

void VirtualConnection::NotifyPlug(PlugEvent event) {
    PlugListener listener;
    {
        std::lock_guard lock(mutex_);
        listener = plugListener_;
    }
    if (!listener) {
        return;
    }
    for (int i = 0; i < kInterfaceCount; ++i) {
        listener(event, InterfaceName(i));
    }
}

std::vector<HidDeviceInfo> VirtualConnection::Interfaces() const {
    std::vector<HidDeviceInfo> list;
    if (!IsPlugged()) {
        return list;
    }
    for (int i = 0; i < kInterfaceCount; ++i) {
        HidDeviceInfo info;
        info.path = PathOf(i);
        info.vendorId = setup_.vendorId;
        info.productId = setup_.productId;
        info.releaseNumber = setup_.releaseNumber;
        info.usagePage = kInterfaces[i].usagePage;
        info.usage = kInterfaces[i].usage;
        info.interfaceNumber = i;
        info.productString = setup_.productString;
        list.push_back(std::move(info));
    }
    return list;
}

std::string VirtualConnection::PathOf(int interfaceNumber) const {
    return "sim:" + std::to_string(number_) + ":" + std::to_string(interfaceNumber);
}

std::string VirtualConnection::InterfaceName(int interfaceNumber) const {
    char name[160];
    std::snprintf(name, sizeof name,
                  "\\\\?\\HID#VID_%04X&PID_%04X&MI_%02d#7&SIM%d&0&0000#"
                  "{4d1e55b2-f16f-11cf-88cb-001111000030}",
                  setup_.vendorId, setup_.productId, interfaceNumber, number_);
    return name;
}

void VirtualConnection::SetTimeScale(double scale) {
    timeScale_ = std::max(scale, 0.0);
}

VirtualConnection::Attachment VirtualConnection::Attach(int interfaceNumber) {
    Attachment attachment;
    if (!IsInterface(interfaceNumber)) {
        return attachment;
    }
    std::lock_guard lock(mutex_);
    if (!plugged_) {
        return attachment;
    }
    auto& readers = readers_[interfaceNumber];
    std::erase_if(readers,
                  [](const std::weak_ptr<InputQueue>& reader) { return reader.expired(); });
    attachment.generation = generation_;
    attachment.queue = std::make_shared<InputQueue>();
    readers.push_back(attachment.queue);
    return attachment;
}

int VirtualConnection::ScaledTimeout(int timeoutMs) const {
    if (timeoutMs <= 0) {
        return timeoutMs;
    }
    return static_cast<int>(std::ceil(timeoutMs * timeScale_.load()));
}

void VirtualConnection::Deliver(int interfaceNumber, const InputReport& report,
                                InputQueue::Clock::time_point availableAt,
                                std::optional<std::uint64_t> generation) {
    std::lock_guard lock(mutex_);
    if (!plugged_ || (generation && *generation != generation_)) {
        return;
    }
    for (const std::weak_ptr<InputQueue>& reader : readers_[interfaceNumber]) {
        if (auto queue = reader.lock()) {
            queue->Push(report, availableAt);
        }
    }
}

bool VirtualConnection::IsCurrent(std::uint64_t generation) const {
    std::lock_guard lock(mutex_);
    return plugged_ && generation == generation_;
}

int VirtualConnection::Write(int interfaceNumber, std::uint64_t generation,
                             const std::uint8_t* data, std::size_t length) {
    if (!IsInterface(interfaceNumber) || !IsCurrent(generation) || data == nullptr || length == 0) {
        return -1;
    }
    switch (interfaceNumber) {
        case kCommandInterface:
            return WriteCommand(generation, data, length);
        case kUpdateInterface:
            return WriteUpdate(data, length);
        default:  // the pointer interface has no output report
            return -1;
    }
}

int VirtualConnection::WriteCommand(std::uint64_t generation, const std::uint8_t* data,
                                    std::size_t length) {
    if (data[0] != kCommandReportId || length < 2 || length > kRequestSize) {
        return -1;
    }
    Request request{};
    std::memcpy(request.data(), data, length);
    commandLog_.Add(request, length);

    const FaultPlan::Decision decision = faults_.NextRequest();
    InputReport reply = decision.fault == FaultPlan::ReplyFault::Refuse
                            ? MakeReply(request, ReplyStatus::Refused)
                            : endpoint_->Handle(request, length);
    if (decision.fault == FaultPlan::ReplyFault::Garble) {
        reply = faults_.MakeGarbage(request, decision.garbage);
    }
    WaitPrecisely(decision.latency);
    if (decision.before) {
        Deliver(kCommandInterface, *decision.before, InputQueue::Clock::now());
    }
    if (decision.fault != FaultPlan::ReplyFault::Lose) {
        Deliver(kCommandInterface, reply, InputQueue::Clock::now() + decision.delay, generation);
    }
    return static_cast<int>(length);
}

int VirtualConnection::WriteUpdate(const std::uint8_t* data, std::size_t length) {
    if (data[0] != kUpdateReportId || faults_.TakeUpdateWriteFailure()) {
        return -1;
    }
    WaitPrecisely(faults_.ReportLatency());
    return loader_.Accept(data, length) ? static_cast<int>(length) : -1;
}

bool VirtualConnection::ProductString(std::uint64_t generation, std::u16string& text) const {
    text.clear();
    if (!IsCurrent(generation)) {
        return false;
    }
    text = setup_.productString;
    return true;
}

void VirtualConnection::PushUnasked(InputReport report) {
    Deliver(kCommandInterface, report, InputQueue::Clock::now());
}

}  // namespace sim
