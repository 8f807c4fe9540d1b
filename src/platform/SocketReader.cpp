#include "platform/SocketReader.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace platform {

LineStatus SocketReader::ReadLine(std::size_t maxLength, SocketClock::time_point deadline,
                                  std::string& line) {
    line.clear();
    for (;;) {
        const std::size_t end = buffer_.find('\n');
        if (end != std::string::npos && end <= maxLength) {
            line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            return LineStatus::kLine;
        }
        if (buffer_.size() > maxLength) {
            return LineStatus::kTooLong;
        }
        if (const LineStatus status = Fill(deadline); status != LineStatus::kLine) {
            return status;
        }
    }
}

LineStatus SocketReader::ReadBytes(std::size_t count, SocketClock::time_point deadline,
                                   std::string& bytes) {
    bytes.clear();
    while (buffer_.size() < count) {
        if (const LineStatus status = Fill(deadline); status != LineStatus::kLine) {
            return status;
        }
    }
    bytes = buffer_.substr(0, count);
    buffer_.erase(0, count);
    return LineStatus::kLine;
}

LineStatus SocketReader::Fill(SocketClock::time_point deadline) {
    for (;;) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
        const int ready = ::poll(fds, stopFd_ >= 0 ? 2 : 1, RemainingMs(deadline));
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LineStatus::kFailed;
        }
        if (stopFd_ >= 0 && fds[1].revents != 0) {
            return LineStatus::kStopped;
        }
        if (ready == 0) {
            return LineStatus::kTimedOut;
        }
        char chunk[4096];
        const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) {
                continue;
            }
            return LineStatus::kFailed;
        }
        if (got == 0) {
            return LineStatus::kClosed;
        }
        buffer_.append(chunk, static_cast<std::size_t>(got));
        return LineStatus::kLine;
    }
}

}  // namespace platform
