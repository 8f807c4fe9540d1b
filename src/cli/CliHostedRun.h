#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/CliSession.h"

// What the running program is, for a kestrelctl command line handed to it.
struct CliHost {
    CliSession::Host parts;
    std::filesystem::path dataFolder;  // the program's own
    bool virtualMice = false;          // the program runs with virtual mice (--sim)
};

// Carries out a kestrelctl command line (argv[1..]) on the running program's parts, through its
// worker and store, with kestrelctl's output and exit statuses; the program's pages read what it
// changed afterwards. With --trace the HID traffic of the run goes to `err` as well, so `err`'s
// buffer must take whole writes from another thread (see ServeHandOff). Options that would need
// another process (other mice, another data folder, the virtual mice's test faults) are a usage
// error that says so.
int RunHostedCommandLine(const CliHost& host, const std::vector<std::string>& arguments,
                         std::ostream& out, std::ostream& err);
