#include "device/protocol/FirmwareReports.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint8_t kReportId = 0x05;
constexpr std::uint8_t kUpdateCommand = 0x02;
constexpr std::size_t kFirstBlockOffset = 4;

FirmwareReport BlankReport() {
    FirmwareReport report;
    report.fill(0xFF);
    report[0] = kReportId;
    report[1] = kUpdateCommand;
    report[3] = 0x00;
    return report;
}

}  // namespace

std::uint16_t Crc16Modbus(const std::uint8_t* data, std::size_t length) {
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                                 : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

FirmwareReport MakeFirmwareStartReport() {
    FirmwareReport report = BlankReport();
    report[2] = 0x02;
    report[4] = 0x01;
    return report;
}

FirmwareReport MakeFirmwareEndReport() {
    FirmwareReport report = BlankReport();
    report[2] = 0x06;
    report[4] = 0x02;
    return report;
}

FirmwareReport MakeFirmwareDataReport(const std::uint8_t* bytes, std::size_t count,
                                      std::uint16_t firstBlock) {
    count = std::min(count, kFirmwareBytesPerReport);
    const std::size_t blocks =
        std::max<std::size_t>(1, (count + kFirmwareBlockDataSize - 1) / kFirmwareBlockDataSize);

    FirmwareReport report = BlankReport();
    report[2] = static_cast<std::uint8_t>(kFirmwareBlockSize * blocks);
    for (std::size_t i = 0; i < blocks; ++i) {
        std::uint8_t* block = report.data() + kFirstBlockOffset + i * kFirmwareBlockSize;
        const auto number = static_cast<std::uint16_t>(firstBlock + i);
        block[0] = static_cast<std::uint8_t>(number & 0xFF);
        block[1] = static_cast<std::uint8_t>(number >> 8);
        const std::size_t start = i * kFirmwareBlockDataSize;
        if (start < count) {
            std::memcpy(block + 2, bytes + start, std::min(kFirmwareBlockDataSize, count - start));
        }
        const std::uint16_t crc = Crc16Modbus(block, 2 + kFirmwareBlockDataSize);
        block[18] = static_cast<std::uint8_t>(crc & 0xFF);
        block[19] = static_cast<std::uint8_t>(crc >> 8);
    }
    return report;
}
