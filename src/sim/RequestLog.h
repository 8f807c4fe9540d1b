#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "sim/DeviceReports.h"

namespace sim {

// One request as it arrived: the 65 bytes (zero beyond what was written) and the write length.
struct LoggedRequest {
    Request bytes{};
    std::size_t writeLength = 0;

    std::uint8_t Command() const { return bytes[1]; }
};

// Every request received, in order, for tests to inspect. Thread-safe.
class RequestLog {
public:
    void Add(const Request& bytes, std::size_t writeLength);
    std::vector<LoggedRequest> All() const;
    std::size_t Size() const;
    // How many requests carried `command`.
    std::size_t Count(std::uint8_t command) const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<LoggedRequest> entries_;  // guarded by mutex_
};

}  // namespace sim
