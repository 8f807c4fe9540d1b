#include "device/transport/Trace.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>

#include "platform/UniqueFd.h"
#include "text/Utf.h"

namespace {

// Appends one timestamped UTF-8 line per trace to a file. Each line goes out in one write() on a
// descriptor opened with O_APPEND, so lines from several threads or processes never interleave.
class TraceFile {
public:
    explicit TraceFile(const char* path)
        : fd_(::open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600)) {}

    bool IsValid() const { return fd_.IsValid(); }

    void Write(std::u16string_view text) {
        std::string line = Timestamp();
        line += ToUtf8(text);
        line += '\n';
        std::lock_guard lock(mutex_);
        std::size_t done = 0;
        while (done < line.size()) {
            ssize_t written = ::write(fd_.Get(), line.data() + done, line.size() - done);
            if (written <= 0) {
                return;  // a trace that cannot be written is dropped
            }
            done += static_cast<std::size_t>(written);
        }
    }

private:
    static std::string Timestamp() {
        using namespace std::chrono;
        const auto now = system_clock::now();
        const std::time_t seconds = system_clock::to_time_t(now);
        const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
        std::tm local{};
        ::localtime_r(&seconds, &local);
        char text[48];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d ",
                      local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec, static_cast<int>(millis));
        return text;
    }

    std::mutex mutex_;  // serialises the writes of one line
    platform::UniqueFd fd_;
};

struct TraceState {
    std::mutex mutex;
    std::shared_ptr<const TraceSink> sink;  // guarded by mutex
    std::atomic<bool> enabled{false};       // mirrors sink != nullptr, read without the lock
};

TraceState& State() {
    // The environment is read once, at the first use of the facility.
    static TraceState* state = [] {
        auto* made = new TraceState;  // never destroyed: traces may come from static destructors
        if (TraceSink sink = TraceSinkFromEnvironment()) {
            made->sink = std::make_shared<const TraceSink>(std::move(sink));
            made->enabled = true;
        }
        return made;
    }();
    return *state;
}

}  // namespace

TraceSink TraceSinkFromEnvironment() {
    const char* path = std::getenv("KESTREL_TRACE");
    if (path == nullptr || *path == '\0') {
        return {};
    }
    auto file = std::make_shared<TraceFile>(path);
    if (!file->IsValid()) {
        return {};
    }
    return [file](std::u16string_view text) { file->Write(text); };
}

void SetTraceSink(TraceSink sink) {
    TraceState& state = State();
    std::lock_guard lock(state.mutex);
    if (sink) {
        state.sink = std::make_shared<const TraceSink>(std::move(sink));
        state.enabled = true;
    } else {
        state.sink.reset();
        state.enabled = false;
    }
}

bool TraceEnabled() {
    return State().enabled.load(std::memory_order_relaxed);
}

void Trace(std::u16string_view text) {
    TraceState& state = State();
    if (!state.enabled.load(std::memory_order_relaxed)) {
        return;
    }
    std::shared_ptr<const TraceSink> sink;
    {
        std::lock_guard lock(state.mutex);
        sink = state.sink;
    }
    if (sink) {
        (*sink)(text);
    }
}
