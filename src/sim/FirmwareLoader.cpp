#include "sim/FirmwareLoader.h"

#include <zlib.h>

#include <cstdio>

namespace sim {

namespace {

constexpr std::uint8_t kReportId = 0x05;
constexpr std::uint8_t kStartKind = 0x02;
constexpr std::uint8_t kEndKind = 0x06;
constexpr std::size_t kFirstBlock = 4;

std::uint16_t Word(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

}  // namespace

std::uint16_t Crc16Modbus(const std::uint8_t* data, std::size_t length) {
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

bool FirmwareLoader::Accept(const std::uint8_t* report, std::size_t length) {
    std::lock_guard lock(mutex_);
    bool accepted = false;
    if (length == kReportSize && report[0] == kReportId && report[1] == 0x02 && report[3] == 0x00) {
        const std::uint8_t kind = report[2];
        if (kind == kStartKind && report[4] == 0x01) {
            state_ = State::Receiving;
            image_.clear();
            nextBlock_ = 0;
            accepted = true;
        } else if (kind == kEndKind && report[4] == 0x02) {
            accepted = state_ == State::Receiving;
            if (accepted) {
                state_ = State::Finished;
            }
        } else if (kind == 20 || kind == 40 || kind == 60) {
            accepted = state_ == State::Receiving && AcceptData(report, kind / 20);
        }
    }
    if (!accepted) {
        ++refused_;
    }
    return accepted;
}

bool FirmwareLoader::AcceptData(const std::uint8_t* report, std::size_t blocks) {
    for (std::size_t i = 0; i < blocks; ++i) {
        const std::uint8_t* block = report + kFirstBlock + i * kBlockSize;
        if (Word(block) != nextBlock_ + i || nextBlock_ + i >= kMaxBlocks) {
            return false;
        }
        if (Word(block + 18) != Crc16Modbus(block, 18)) {
            ++crcErrors_;
            return false;
        }
    }
    for (std::size_t i = 0; i < blocks; ++i) {
        const std::uint8_t* data = report + kFirstBlock + i * kBlockSize + 2;
        image_.insert(image_.end(), data, data + kBlockData);
    }
    nextBlock_ += blocks;
    return true;
}

FirmwareLoader::State FirmwareLoader::CurrentState() const {
    std::lock_guard lock(mutex_);
    return state_;
}

std::vector<std::uint8_t> FirmwareLoader::Image() const {
    std::lock_guard lock(mutex_);
    return image_;
}

std::size_t FirmwareLoader::BlocksReceived() const {
    std::lock_guard lock(mutex_);
    return nextBlock_;
}

std::size_t FirmwareLoader::ReportsRefused() const {
    std::lock_guard lock(mutex_);
    return refused_;
}

std::size_t FirmwareLoader::CrcErrors() const {
    std::lock_guard lock(mutex_);
    return crcErrors_;
}

}  // namespace sim

namespace sim {

std::string DescribeLoader(const FirmwareLoader& loader) {
    const char* state = "idle";
    switch (loader.CurrentState()) {
        case FirmwareLoader::State::Idle:
            break;
        case FirmwareLoader::State::Receiving:
            state = "receiving";
            break;
        case FirmwareLoader::State::Finished:
            state = "finished";
            break;
    }
    const std::vector<std::uint8_t> image = loader.Image();
    const unsigned long crc =
        ::crc32(::crc32(0L, Z_NULL, 0), image.data(), static_cast<uInt>(image.size()));
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08lX", crc & 0xFFFFFFFFUL);
    return std::string("state=") + state + " blocks=" + std::to_string(loader.BlocksReceived()) +
           " refused=" + std::to_string(loader.ReportsRefused()) + " crc32=" + hex;
}

}  // namespace sim
