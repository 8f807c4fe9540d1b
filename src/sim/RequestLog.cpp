#include "sim/RequestLog.h"

#include <algorithm>

namespace sim {

void RequestLog::Add(const Request& bytes, std::size_t writeLength) {
    std::lock_guard lock(mutex_);
    entries_.push_back({bytes, writeLength});
}

std::vector<LoggedRequest> RequestLog::All() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

std::size_t RequestLog::Size() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

std::size_t RequestLog::Count(std::uint8_t command) const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(std::count_if(
        entries_.begin(), entries_.end(),
        [command](const LoggedRequest& entry) { return entry.Command() == command; }));
}

void RequestLog::Clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

}  // namespace sim
