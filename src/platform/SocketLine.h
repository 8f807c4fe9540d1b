#pragma once

#include <sys/socket.h>
#include <sys/un.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// One line each way over a Unix stream socket, the whole conversation between a starting instance
// and the running one. Every wait has a deadline, so neither side can be held up by the other.

namespace platform {

using SocketClock = std::chrono::steady_clock;

// Milliseconds left until `deadline` for poll: never negative, rounded up so that a wait never
// ends before the deadline.
int RemainingMs(SocketClock::time_point deadline);

// Fills a socket address for a path; false when the path does not fit into sun_path.
bool MakeSocketAddress(const std::filesystem::path& path, sockaddr_un& address, socklen_t& length);

enum class LineStatus {
    kLine,      // a complete line arrived; `line` holds it without the '\n'
    kTooLong,   // `maxLength` bytes came without a '\n'
    kClosed,    // the peer closed before the line was complete
    kTimedOut,  // the deadline passed first
    kStopped,   // `stopFd` became readable first
    kFailed,    // a read or poll error
};

// Reads one line from a non-blocking socket. `stopFd` (an eventfd or pipe; -1 for none) ends the
// wait early, so a listener that is asked to stop is not held up by a slow peer. What came after
// the '\n' is dropped: for a conversation of several messages, keep a SocketReader.
LineStatus ReadSocketLine(int fd, std::size_t maxLength, SocketClock::time_point deadline,
                          int stopFd, std::string& line);

// Writes all bytes to a non-blocking socket before the deadline; a peer that has gone raises no
// SIGPIPE.
bool WriteSocketBytes(int fd, std::string_view bytes, SocketClock::time_point deadline);

}  // namespace platform
