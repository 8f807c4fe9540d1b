#include "sim/MacroAssembler.h"

namespace sim {

namespace {

bool IsEventCode(std::uint8_t code) {
    switch (code) {
        case 0x30:
        case 0xB0:
        case 0x20:
        case 0xA0:
        case 0x10:
        case 0x90:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::vector<MacroEvent> DecodeMacroEvents(const std::vector<std::uint8_t>& blob) {
    std::vector<MacroEvent> events;
    for (std::size_t at = 1; at + 4 <= blob.size(); at += 4) {
        MacroEvent event;
        event.code = blob[at];
        event.delay = static_cast<std::uint16_t>(blob[at + 1] | (blob[at + 2] << 8));
        event.key = blob[at + 3];
        events.push_back(event);
    }
    return events;
}

MacroAssembler::Outcome MacroAssembler::Add(std::uint8_t packetByte, std::uint8_t length,
                                            const std::uint8_t* payload) {
    const int index = packetByte >> 4;
    const int count = packetByte & 0x0F;
    const bool last = index == count - 1;
    const bool lengthFits =
        length >= 1 && length <= kPacketPayload && (last || length == kPacketPayload);
    if (count == 0 || index >= count || !lengthFits) {
        Reset();
        return Outcome::Refused;
    }
    if (index == 0) {
        Reset();
        count_ = count;
    } else if (index != expectedIndex_ || count != count_) {
        Reset();
        return Outcome::Refused;
    }
    if (buffer_.size() + length > kMacroBufferSize) {
        Reset();
        return Outcome::Refused;
    }
    buffer_.insert(buffer_.end(), payload, payload + length);
    if (!last) {
        expectedIndex_ = index + 1;
        return Outcome::Accepted;
    }
    expectedIndex_ = 0;
    count_ = 0;
    if (!IsWholeEventList(buffer_)) {
        buffer_.clear();
        return Outcome::Refused;
    }
    return Outcome::Completed;
}

void MacroAssembler::Reset() {
    buffer_.clear();
    expectedIndex_ = 0;
    count_ = 0;
}

bool MacroAssembler::IsWholeEventList(const std::vector<std::uint8_t>& blob) {
    if (blob.empty() || (blob.size() - 1) % 4 != 0) {
        return false;
    }
    for (std::size_t at = 1; at < blob.size(); at += 4) {
        if (!IsEventCode(blob[at])) {
            return false;
        }
    }
    return true;
}

}  // namespace sim
