#pragma once

// Request and report bytes built by hand from the protocol tables, independent of the mouse's own
// code, so the tests check the mouse against the tables.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace simtest {

using Bytes = std::vector<std::uint8_t>;
using Request65 = std::array<std::uint8_t, 65>;

// 00, command, 00, packet byte, length, payload from byte 5, checksum at byte 32.
inline Request65 MakeRequest(std::uint8_t command, std::uint8_t packet, std::uint8_t length,
                             const Bytes& payload = {}) {
    Request65 request{};
    request[1] = command;
    request[3] = packet;
    request[4] = length;
    for (std::size_t i = 0; i < payload.size() && 5 + i < request.size(); ++i) {
        request[5 + i] = payload[i];
    }
    unsigned sum = 0;
    for (int i = 5; i <= 31; ++i) {
        sum += request[i];
    }
    request[32] = static_cast<std::uint8_t>(sum);
    return request;
}

// A single-packet write: packet byte 0x01.
inline Request65 Write(std::uint8_t command, std::uint8_t length, const Bytes& payload) {
    return MakeRequest(command, 0x01, length, payload);
}

// A read: packet byte 0, length 0, no payload.
inline Request65 Read(std::uint8_t command) {
    return MakeRequest(command, 0x00, 0x00);
}

// The 25 payload bytes of a 0x03 request: stage byte, then every value twice, little-endian.
inline Bytes DpiPayload(std::uint8_t index, std::uint8_t count,
                        const std::array<std::uint16_t, 6>& values) {
    Bytes payload{static_cast<std::uint8_t>((index << 4) | count)};
    for (std::uint16_t value : values) {
        const auto low = static_cast<std::uint8_t>(value & 0xFF);
        const auto high = static_cast<std::uint8_t>(value >> 8);
        payload.insert(payload.end(), {low, high, low, high});
    }
    return payload;
}

// The 0x08 packets of a macro blob (button byte, then four bytes per event): one packet with
// packet byte 0x01 for up to six events, else ceil(L / 27) packets of 27 bytes, the last with the
// rest.
inline std::vector<Request65> MacroPackets(const Bytes& blob) {
    std::vector<Request65> packets;
    const std::size_t length = blob.size();
    const std::size_t events = (length - 1) / 4;
    if (events <= 6) {
        packets.push_back(MakeRequest(0x08, 0x01, static_cast<std::uint8_t>(length), blob));
        return packets;
    }
    const std::size_t count = (length + 26) / 27;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t first = 27 * k;
        const std::size_t size = std::min<std::size_t>(27, length - first);
        packets.push_back(MakeRequest(0x08, static_cast<std::uint8_t>((k << 4) | count),
                                      static_cast<std::uint8_t>(size),
                                      Bytes(blob.begin() + first, blob.begin() + first + size)));
    }
    return packets;
}

// CRC-16/MODBUS, bit by bit.
inline std::uint16_t Crc(const std::uint8_t* data, std::size_t length) {
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            const bool low = crc & 1;
            crc >>= 1;
            if (low) {
                crc ^= 0xA001;
            }
        }
    }
    return crc;
}

inline Bytes FirmwareStart() {
    Bytes report(64, 0xFF);
    report[0] = 0x05;
    report[1] = 0x02;
    report[2] = 0x02;
    report[3] = 0x00;
    report[4] = 0x01;
    return report;
}

inline Bytes FirmwareEnd() {
    Bytes report(64, 0xFF);
    report[0] = 0x05;
    report[1] = 0x02;
    report[2] = 0x06;
    report[3] = 0x00;
    report[4] = 0x02;
    return report;
}

// The data reports of an image: 48 bytes (three blocks) per report, the last with one, two or
// three blocks, padded with 0xFF.
inline std::vector<Bytes> FirmwareDataReports(const Bytes& image) {
    std::vector<Bytes> reports;
    std::size_t block = 0;
    for (std::size_t offset = 0; offset < image.size(); offset += 48) {
        const std::size_t rest = image.size() - offset;
        const std::size_t blocks = rest >= 48 ? 3 : (rest + 15) / 16;
        Bytes report(64, 0xFF);
        report[0] = 0x05;
        report[1] = 0x02;
        report[2] = static_cast<std::uint8_t>(20 * blocks);
        report[3] = 0x00;
        for (std::size_t b = 0; b < blocks; ++b, ++block) {
            std::uint8_t* at = report.data() + 4 + 20 * b;
            at[0] = static_cast<std::uint8_t>(block & 0xFF);
            at[1] = static_cast<std::uint8_t>(block >> 8);
            for (std::size_t i = 0; i < 16; ++i) {
                const std::size_t from = offset + 16 * b + i;
                at[2 + i] = from < image.size() ? image[from] : 0xFF;
            }
            const std::uint16_t crc = Crc(at, 18);
            at[18] = static_cast<std::uint8_t>(crc & 0xFF);
            at[19] = static_cast<std::uint8_t>(crc >> 8);
        }
        reports.push_back(report);
    }
    return reports;
}

}  // namespace simtest
