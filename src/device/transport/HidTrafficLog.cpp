#include "device/transport/HidTrafficLog.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace {

struct TrafficState {
    std::mutex mutex;
    std::shared_ptr<const HidTrafficSink> sink;  // guarded by mutex
    std::atomic<bool> enabled{false};            // mirrors sink != nullptr, read without the lock
};

TrafficState& State() {
    static TrafficState state;
    return state;
}

void Log(char direction, const std::uint8_t* data, std::size_t length) {
    TrafficState& state = State();
    if (!state.enabled.load(std::memory_order_relaxed)) {
        return;
    }
    std::shared_ptr<const HidTrafficSink> sink;
    {
        std::lock_guard lock(state.mutex);
        sink = state.sink;
    }
    if (sink) {
        (*sink)(FormatHidTraffic(direction, data, length));
    }
}

}  // namespace

void SetHidTrafficSink(HidTrafficSink sink) {
    TrafficState& state = State();
    std::lock_guard lock(state.mutex);
    if (sink) {
        state.sink = std::make_shared<const HidTrafficSink>(std::move(sink));
        state.enabled = true;
    } else {
        state.sink.reset();
        state.enabled = false;
    }
}

HidTrafficSink CurrentHidTrafficSink() {
    TrafficState& state = State();
    std::lock_guard lock(state.mutex);
    return state.sink ? *state.sink : HidTrafficSink();
}

std::string FormatHidTraffic(char direction, const std::uint8_t* data, std::size_t length) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string line(1, direction);
    line += ' ';
    line += std::to_string(length);
    line.reserve(line.size() + 3 * length);
    for (std::size_t i = 0; i < length; ++i) {
        line += ' ';
        line += kDigits[data[i] >> 4];
        line += kDigits[data[i] & 0x0F];
    }
    return line;
}

void LogHidWrite(const std::uint8_t* data, std::size_t length) {
    Log('W', data, length);
}

void LogHidRead(const std::uint8_t* data, std::size_t length) {
    Log('R', data, length);
}
