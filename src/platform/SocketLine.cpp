#include "platform/SocketLine.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/SocketReader.h"

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
    return SocketReader(fd, stopFd).ReadLine(maxLength, deadline, line);
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
