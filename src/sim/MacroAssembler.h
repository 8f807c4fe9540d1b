#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

// One four-byte macro event: code, delay (little-endian, milliseconds to wait after the event),
// key usage, modifier bit or mouse button.
struct MacroEvent {
    std::uint8_t code = 0;  // 0x30/0xB0 key, 0x20/0xA0 modifier, 0x10/0x90 button, down/up
    std::uint16_t delay = 0;
    std::uint8_t key = 0;

    bool operator==(const MacroEvent&) const = default;
};

// The events of a macro blob (button byte first, then four bytes per event).
std::vector<MacroEvent> DecodeMacroEvents(const std::vector<std::uint8_t>& blob);

// Puts a macro upload back together from its 0x08 packets. Packet byte: (index << 4) | count, up
// to 15 packets; every packet but the last carries 27 bytes; packet 0 starts a new upload; the
// others must follow in order. The assembled blob is the button index, then whole events, at most
// kMacroBufferSize bytes. Not thread-safe: the mouse's lock guards it.
class MacroAssembler {
public:
    static constexpr std::size_t kMacroBufferSize = 1024;
    static constexpr std::size_t kPacketPayload = 27;

    enum class Outcome {
        Accepted,   // stored; more packets are expected
        Completed,  // the last packet: Blob() holds the whole upload
        Refused,    // out of order, a wrong length, too long, or not a sequence of events
    };

    // `packetByte` and `length` are request bytes 3 and 4, `payload` points at request byte 5.
    Outcome Add(std::uint8_t packetByte, std::uint8_t length, const std::uint8_t* payload);
    const std::vector<std::uint8_t>& Blob() const { return buffer_; }
    // Drops a partial upload.
    void Reset();

private:
    static bool IsWholeEventList(const std::vector<std::uint8_t>& blob);

    std::vector<std::uint8_t> buffer_;
    int expectedIndex_ = 0;  // next packet index; 0 when no upload is under way
    int count_ = 0;          // packet count of the upload under way
};

}  // namespace sim
