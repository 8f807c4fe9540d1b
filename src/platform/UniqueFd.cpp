#include "platform/UniqueFd.h"

#include <unistd.h>

namespace platform {

UniqueFd::~UniqueFd() {
    Close();
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.Release();
    }
    return *this;
}

int UniqueFd::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

bool UniqueFd::Close() {
    if (fd_ < 0) {
        return true;
    }
    // Linux releases the descriptor even when close fails (also on EINTR), so never retry.
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return closed;
}

}  // namespace platform
