#include "device/protocol/MacroEncoding.h"

#include <algorithm>

#include "device/protocol/CommandCodes.h"
#include "device/protocol/KeyCodes.h"

namespace {

constexpr int kMaxDelay = 0xFFFF;

void SetDelay(std::vector<std::uint8_t>& blob, std::size_t event, long long delay) {
    const int value = static_cast<int>(std::clamp<long long>(delay, 0, kMaxDelay));
    blob[event + 1] = static_cast<std::uint8_t>(value & 0xFF);
    blob[event + 2] = static_cast<std::uint8_t>(value >> 8);
}

// The event code and key byte of a key or button record; false for any other type.
bool EventOf(const MacroEventRecord& record, std::uint8_t& code, std::uint8_t& key) {
    const bool down = record.type == kMacroRecordKeyDown || record.type == kMacroRecordButtonDown;
    switch (record.type) {
        case kMacroRecordKeyDown:
        case kMacroRecordKeyUp:
            if (IsModifierVirtualKey(record.value)) {
                code = down ? kMacroEventModifierDown : kMacroEventModifierUp;
                key = static_cast<std::uint8_t>(ModifierBit(record.value));
            } else {
                code = down ? kMacroEventKeyDown : kMacroEventKeyUp;
                key = static_cast<std::uint8_t>(VirtualKeyToUsage(record.value));
            }
            return true;
        case kMacroRecordButtonDown:
        case kMacroRecordButtonUp:
            code = down ? kMacroEventButtonDown : kMacroEventButtonUp;
            key = static_cast<std::uint8_t>(record.value & 0xFF);
            return true;
        default:
            return false;
    }
}

}  // namespace

EncodedMacro EncodeMacroEvents(int button, std::span<const MacroEventRecord> records) {
    EncodedMacro macro;
    macro.blob.push_back(static_cast<std::uint8_t>(button & 0xFF));
    long long delaySum = 0;
    bool delayPending = false;  // delay records seen since the last written event
    std::size_t lastEvent = 0;  // blob offset of the last written event
    for (const MacroEventRecord& record : records) {
        if (record.type == kMacroRecordDelay) {
            delaySum += record.value;  // milliseconds (delay_time is a timestamp)
            delayPending = true;
            continue;
        }
        std::uint8_t code = 0;
        std::uint8_t key = 0;
        if (!EventOf(record, code, key)) {
            continue;
        }
        if (macro.eventCount > 0) {
            SetDelay(macro.blob, lastEvent, delaySum <= 0 ? 1 : delaySum);
        }
        delaySum = 0;
        delayPending = false;
        lastEvent = macro.blob.size();
        macro.blob.insert(macro.blob.end(), {code, 0x01, 0x00, key});
        ++macro.eventCount;
    }
    // Delays after the last event become its delay; there it may be 0.
    if (delayPending && macro.eventCount > 0) {
        SetDelay(macro.blob, lastEvent, delaySum);
    }
    return macro;
}

std::vector<RequestReport> MacroPackets(const EncodedMacro& macro) {
    std::vector<RequestReport> packets;
    const std::size_t length = macro.blob.size();
    const std::size_t capacity = RequestReport::kPayloadCapacity;
    const std::size_t count = (length + capacity - 1) / capacity;
    if (count == 0 || count > static_cast<std::size_t>(kMacroMaxPackets)) {
        return packets;
    }
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t start = k * capacity;
        const std::size_t size = std::min(capacity, length - start);
        RequestReport packet = RequestReport::Write(kCommandMacroUpload, static_cast<int>(size),
                                                    static_cast<std::uint8_t>((k << 4) | count));
        for (std::size_t i = 0; i < size; ++i) {
            packet.Set(RequestReport::kPayloadStart + i, macro.blob[start + i]);
        }
        packets.push_back(packet);
    }
    return packets;
}
