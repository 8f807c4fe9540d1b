#include "platform/SocketLine.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {

int RemainingMs(SocketClock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SocketClock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, 1 << 30));
}

bool MakeSocketAddress(const std::filesystem::path& path, sockaddr_un& address, socklen_t& length) {
    const std::string& text = path.native();
    // The path needs its terminating zero inside sun_path: some systems read it as a C string.
    if (text.empty() || text.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, text.data(), text.size());
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + text.size() + 1);
    return true;
}

LineStatus ReadSocketLine(int fd, std::size_t maxLength, SocketClock::time_point deadline,
                          int stopFd, std::string& line) {
    line.clear();
    std::string received;
    for (;;) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
        const int ready = ::poll(fds, stopFd >= 0 ? 2 : 1, RemainingMs(deadline));
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LineStatus::kFailed;
        }
        if (stopFd >= 0 && fds[1].revents != 0) {
            return LineStatus::kStopped;
        }
        if (ready == 0) {
            return LineStatus::kTimedOut;
        }
        // Room for the longest allowed line and its '\n', and not a byte more.
        char buffer[256];
        const std::size_t want = std::min(sizeof buffer, maxLength + 1 - received.size());
        const ssize_t got = ::recv(fd, buffer, want, 0);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) {
                continue;
            }
            return LineStatus::kFailed;
        }
        if (got == 0) {
            return LineStatus::kClosed;
        }
        received.append(buffer, static_cast<std::size_t>(got));
        const std::size_t end = received.find('\n');
        if (end != std::string::npos && end <= maxLength) {
            line = received.substr(0, end);
            return LineStatus::kLine;
        }
        if (received.size() > maxLength) {
            return LineStatus::kTooLong;
        }
    }
}

bool WriteSocketBytes(int fd, std::string_view bytes, SocketClock::time_point deadline) {
    while (!bytes.empty()) {
        const ssize_t written = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (written >= 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            return false;
        }
        pollfd out = {fd, POLLOUT, 0};
        const int ready = ::poll(&out, 1, RemainingMs(deadline));
        if (ready == 0 || (ready < 0 && errno != EINTR)) {
            return false;
        }
    }
    return true;
}

}  // namespace platform
