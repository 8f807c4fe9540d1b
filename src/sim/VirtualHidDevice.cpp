#include "sim/VirtualHidDevice.h"

#include <algorithm>
#include <cstring>

namespace sim {

VirtualHidDevice::VirtualHidDevice(std::shared_ptr<VirtualConnection> connection,
                                   int interfaceNumber, VirtualConnection::Attachment attachment)
    : connection_(std::move(connection)),
      interfaceNumber_(interfaceNumber),
      generation_(attachment.generation),
      queue_(std::move(attachment.queue)) {
}

int VirtualHidDevice::Write(const std::uint8_t* data, std::size_t length) {
    return connection_->Write(interfaceNumber_, generation_, data, length);
}

int VirtualHidDevice::Read(std::uint8_t* data, std::size_t length, int timeoutMs) {
    if (data == nullptr) {
        return -1;
    }
    InputReport report;
    switch (queue_->Pop(connection_->ScaledTimeout(timeoutMs), report)) {
        case InputQueue::PopResult::Data: {
            const std::size_t count = std::min(length, report.size());
            std::memcpy(data, report.data(), count);
            return static_cast<int>(count);
        }
        case InputQueue::PopResult::TimedOut:
            return 0;
        case InputQueue::PopResult::Closed:
            break;
    }
    return -1;
}

void VirtualHidDevice::CancelReads() {
    // The queue is this handle's own: closing it leaves the interface's other handles alone.
    if (queue_) {
        queue_->Close();
    }
}

bool VirtualHidDevice::ProductString(std::u16string& text) {
    return connection_->ProductString(generation_, text);
}

}  // namespace sim
