#include "platform/WindowKeyboardSource.h"

#include <utility>

namespace platform {

bool WindowKeyboardSource::Listen(Sink sink) {
    sink_ = std::move(sink);
    return true;
}

void WindowKeyboardSource::StopListening() {
    sink_ = nullptr;
}

void WindowKeyboardSource::Feed(const LinuxKey& key) {
    if (!sink_) {
        return;
    }
    // A sink that stops listening (a captured key combination is complete) replaces sink_ while
    // it runs; the copy keeps the running one, and what it captured, alive until it returns.
    const Sink running = sink_;
    running(key);
}

}  // namespace platform
