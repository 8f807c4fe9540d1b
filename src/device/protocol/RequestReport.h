#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// One request to the mouse in its 65-byte buffer, zero-filled:
//   byte 0 report id 0x00, byte 1 command code, byte 2 0x00,
//   byte 3 (packet index << 4) | packet count for writes, 0x00 for reads,
//   byte 4 payload length, bytes 5 to 31 payload, byte 32 checksum (set by
//   DeviceManager::SendCommand), bytes 33 to 64 zero.
// Commands are written with 33 or 65 bytes. After the exchange the buffer holds the reply, whose
// data starts at byte 4.
class RequestReport {
public:
    static constexpr std::size_t kSize = 65;
    static constexpr std::size_t kShortLength = 33;
    static constexpr std::size_t kLongLength = 65;
    static constexpr std::size_t kPayloadStart = 5;
    static constexpr std::size_t kPayloadCapacity = 27;
    static constexpr std::size_t kChecksumByte = 32;

    // A write request of one packet (packet byte 0x01) or of packet `packetByte`.
    static RequestReport Write(std::uint8_t command, int payloadLength,
                               std::uint8_t packetByte = 0x01);
    // A read request: byte 3 and byte 4 are 0.
    static RequestReport Read(std::uint8_t command);

    // Sets byte `index` to the low byte of `value`; an index beyond the buffer is ignored.
    void Set(std::size_t index, int value);
    // A COLORREF colour (red in the low byte) as red, green, blue at index, index + 1, index + 2.
    void SetColor(std::size_t index, int color);
    // A 16-bit value, low byte first.
    void SetWord(std::size_t index, int value);

    std::uint8_t operator[](std::size_t index) const { return bytes_[index]; }
    std::uint8_t* Data() { return bytes_.data(); }
    const std::array<std::uint8_t, kSize>& Bytes() const { return bytes_; }

private:
    std::array<std::uint8_t, kSize> bytes_{};
};
