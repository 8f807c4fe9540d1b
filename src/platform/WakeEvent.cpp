#include "platform/WakeEvent.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace platform {

UniqueFd MakeWakeEvent() {
    return UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
}

void SignalWakeEvent(const UniqueFd& wake) {
    const std::uint64_t one = 1;
    // An eventfd write of 1 only fails when the counter is about to overflow, and then it is
    // already readable: the thread wakes either way.
    [[maybe_unused]] const ssize_t written = ::write(wake.Get(), &one, sizeof one);
}

}  // namespace platform
