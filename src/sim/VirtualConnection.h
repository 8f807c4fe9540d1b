#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "device/transport/HidBackend.h"
#include "sim/CommandEndpoint.h"
#include "sim/ConnectionSetup.h"
#include "sim/FaultPlan.h"
#include "sim/FirmwareLoader.h"
#include "sim/InputQueue.h"
#include "sim/ReportSink.h"
#include "sim/RequestLog.h"
#include "sim/VirtualMouse.h"
#include "sim/VirtualReceiver.h"

namespace sim {

enum class PlugEvent { Arrival, Removal };
// Told of each interface that arrives or leaves, by its Windows-style interface name.
using PlugListener = std::function<void(PlugEvent event, const std::string& interfaceName)>;

// One virtual USB device, a mouse on its cable or a receiver, with the three HID interfaces a
// real one has:
//   interface 0  the pointer (usage page 0x0001, usage 0x0002): takes no output reports
//   interface 1  firmware update (usage page 0xFFEF, usage 0x0000): the firmware loader
//   interface 2  commands (usage page 0x0001, usage 0x0000): requests, replies, unasked reports
// A reply is queued on the command interface before the write returns. The connection can be
// unplugged and plugged in again, and shows the faults its FaultPlan asks for. Thread-safe.
class VirtualConnection : private ReportSink {
public:
    static constexpr int kPointerInterface = 0;
    static constexpr int kUpdateInterface = 1;
    static constexpr int kCommandInterface = 2;
    static constexpr int kInterfaceCount = 3;

    VirtualConnection(int number, ConnectionSetup setup, std::shared_ptr<VirtualMouse> mouse);
    ~VirtualConnection() override;
    VirtualConnection(const VirtualConnection&) = delete;
    VirtualConnection& operator=(const VirtualConnection&) = delete;

    int Number() const { return number_; }
    const ConnectionSetup& Setup() const { return setup_; }
    VirtualMouse& Mouse() const { return *mouse_; }
    const std::shared_ptr<VirtualMouse>& SharedMouse() const { return mouse_; }
    // The receiver of a mode 1 connection; nullptr on a cable.
    VirtualReceiver* Receiver() const { return receiver_; }
    FaultPlan& Faults() { return faults_; }
    const FirmwareLoader& Loader() const { return loader_; }
    // Every request written to the command interface, in order (also those a fault refused).
    const RequestLog& CommandLog() const { return commandLog_; }
    RequestLog& CommandLog() { return commandLog_; }

    // Unplugging fails every read and write of every handle at once, reads under way included,
    // and takes the interfaces out of enumeration. Plugging in again brings them back under new
    // handles; handles opened before stay dead. The mouse keeps its settings.
    void Unplug();
    void Plug();
    bool IsPlugged() const;
    void SetPlugListener(PlugListener listener);

    // The interfaces as enumeration shows them; none while unplugged.
    std::vector<HidDeviceInfo> Interfaces() const;
    // "sim:<number>:<interface>".
    std::string PathOf(int interfaceNumber) const;
    // The name the system's device notifications would carry for the interface:
    // \\?\HID#VID_xxxx&PID_xxxx&MI_0n#...#{HID class}.
    std::string InterfaceName(int interfaceNumber) const;
    // Reads wait `scale` times the time-out asked for (1: real time).
    void SetTimeScale(double scale);

    // Used by the handles. A new handle gets the current plug-in's generation and an input queue
    // of its own (none when unplugged or when there is no such interface); its writes and product
    // string reads count only under that generation.
    struct Attachment {
        std::uint64_t generation = 0;
        std::shared_ptr<InputQueue> queue;
    };
    Attachment Attach(int interfaceNumber);
    int Write(int interfaceNumber, std::uint64_t generation, const std::uint8_t* data,
              std::size_t length);
    bool ProductString(std::uint64_t generation, std::u16string& text) const;
    // A read time-out after the time scale.
    int ScaledTimeout(int timeoutMs) const;

private:
    // ReportSink overrides
    void PushUnasked(InputReport report) override;

    bool IsCurrent(std::uint64_t generation) const;
    // Gives every open handle of the interface its copy of the report; a reply only while the
    // plug-in its request came under (`generation`) lasts.
    void Deliver(int interfaceNumber, const InputReport& report,
                 InputQueue::Clock::time_point availableAt,
                 std::optional<std::uint64_t> generation = std::nullopt);
    int WriteCommand(std::uint64_t generation, const std::uint8_t* data, std::size_t length);
    int WriteUpdate(const std::uint8_t* data, std::size_t length);
    void NotifyPlug(PlugEvent event);

    const int number_;
    const ConnectionSetup setup_;
    const std::shared_ptr<VirtualMouse> mouse_;
    FaultPlan faults_;       // has its own lock
    FirmwareLoader loader_;  // has its own lock
    RequestLog commandLog_;  // has its own lock
    std::atomic<double> timeScale_{1.0};

    mutable std::mutex mutex_;
    bool plugged_ = true;           // guarded by mutex_
    std::uint64_t generation_ = 1;  // guarded by mutex_
    PlugListener plugListener_;     // guarded by mutex_
    // The input queues of the open handles of each interface; guarded by mutex_.
    std::array<std::vector<std::weak_ptr<InputQueue>>, kInterfaceCount> readers_;

    // Destroyed before the members above, so it stops observing the mouse before they go.
    std::unique_ptr<CommandEndpoint> endpoint_;
    VirtualReceiver* receiver_ = nullptr;  // endpoint_ when it is a receiver
};

}  // namespace sim
