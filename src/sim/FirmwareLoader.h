#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

// CRC-16/MODBUS: reflected polynomial 0xA001, initial value 0xFFFF, no final XOR.
std::uint16_t Crc16Modbus(const std::uint8_t* data, std::size_t length);

// The mouse's firmware loader behind its update interface. It takes 64-byte reports with report
// id 5: start (05 02 02 00 01 FF...), data (05 02 n·20 00, then n blocks of 20 bytes: block number
// little-endian, 16 image bytes, CRC-16/MODBUS of those 18 bytes little-endian) and end
// (05 02 06 00 02 FF...). Blocks must come numbered 0, 1, 2, ... with good CRCs; a report that
// breaks this is refused as a whole and leaves the loader where it was, so the same report may
// be sent again. It never answers. The image length is not sent: the loader keeps every 16-byte
// block, so the last block's 0xFF padding is part of what it holds. Thread-safe.
class FirmwareLoader {
public:
    static constexpr std::size_t kReportSize = 64;
    static constexpr std::size_t kBlockSize = 20;
    static constexpr std::size_t kBlockData = 16;
    static constexpr std::size_t kMaxBlocks = 65536;

    enum class State {
        Idle,       // no start report yet
        Receiving,  // started; data reports expected
        Finished,   // the end report came
    };

    // One report as written, report id first. False: refused.
    bool Accept(const std::uint8_t* report, std::size_t length);

    State CurrentState() const;
    // The image bytes received since the last start report, 16 per block.
    std::vector<std::uint8_t> Image() const;
    std::size_t BlocksReceived() const;
    std::size_t ReportsRefused() const;
    std::size_t CrcErrors() const;

private:
    bool AcceptData(const std::uint8_t* report, std::size_t blocks);

    mutable std::mutex mutex_;
    State state_ = State::Idle;        // guarded by mutex_
    std::vector<std::uint8_t> image_;  // guarded by mutex_
    std::size_t nextBlock_ = 0;        // guarded by mutex_
    std::size_t refused_ = 0;          // guarded by mutex_
    std::size_t crcErrors_ = 0;        // guarded by mutex_
};

}  // namespace sim

namespace sim {

// The loader in one line for scripts: "state=idle|receiving|finished blocks=N refused=N
// crc32=XXXXXXXX", the CRC-32 (zlib's) over the image bytes it holds.
std::string DescribeLoader(const FirmwareLoader& loader);

}  // namespace sim
