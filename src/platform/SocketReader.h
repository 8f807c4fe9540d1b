#pragma once

#include <cstddef>
#include <string>

#include "platform/SocketLine.h"

namespace platform {

// Reads lines and counted runs of bytes from a non-blocking stream socket, keeping what arrived
// past the last one asked for: a conversation of several messages in a row may come in one
// receive. Every read has a deadline and an optional stop descriptor (an eventfd or pipe; -1 for
// none), as ReadSocketLine.
class SocketReader {
public:
    explicit SocketReader(int fd, int stopFd = -1) : fd_(fd), stopFd_(stopFd) {}

    // The next line without its '\n'. kTooLong when `maxLength` bytes come without one.
    LineStatus ReadLine(std::size_t maxLength, SocketClock::time_point deadline, std::string& line);
    // Exactly `count` bytes into `bytes`; kLine when they all came.
    LineStatus ReadBytes(std::size_t count, SocketClock::time_point deadline, std::string& bytes);

private:
    // Receives what is there (waiting for it), appending to buffer_.
    LineStatus Fill(SocketClock::time_point deadline);

    int fd_;
    int stopFd_;
    std::string buffer_;  // received, not yet handed out
};

}  // namespace platform
