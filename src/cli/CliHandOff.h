#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UniqueFd.h"

// kestrelctl's command line handed to the running kestrel, so that one process talks to the mouse
// and writes the settings: the window and a script never interleave requests on one device.
//
// Over the instance's socket (same user only), after the request word kHandOffRequest and its
// "ok": the client sends the argument count as a decimal line, then each argument as its byte count
// on a line followed by its bytes. The program answers with frames "out N\n" or "err N\n" followed
// by N bytes of standard output or error, as the commands write them, and ends with "exit S\n".

inline constexpr std::string_view kHandOffRequest = "kestrelctl";

enum class HandOffResult {
    kNoInstance,  // no kestrel runs for this user: the command line is the caller's to carry out
    kDone,        // the running kestrel carried it out; its exit status is in `status`
    kFailed,      // one runs, but the conversation broke off (the reason is written to `err`)
};

// Client: hands `arguments` (argv[1..]) to the kestrel whose instance socket is in `folder` under
// `name`, writes what it prints to `out` and `err` as it comes, and sets `status` to its exit
// status.
HandOffResult HandOffToInstance(const std::filesystem::path& folder, std::u16string_view name,
                                const std::vector<std::string>& arguments, std::ostream& out,
                                std::ostream& err, int& status);

// Carries out one handed-over command line, writing to `out` and `err`; returns the exit status.
// Another thread may write to the streams' buffers themselves (rdbuf()->sputn, then pubsync)
// meanwhile: each such write reaches the client whole.
using HandOffRunner = std::function<int(const std::vector<std::string>& arguments,
                                        std::ostream& out, std::ostream& err)>;

// Server: reads the command line from `connection` (the request word and "ok" already exchanged),
// runs it and sends back what it printed and its status. Gives up on a client that sends too much
// or too slowly, or when `stopFd` becomes readable before the command line is complete.
void ServeHandOff(platform::UniqueFd connection, int stopFd, const HandOffRunner& run);
