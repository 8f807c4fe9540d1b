#pragma once

#include <string>
#include <vector>

#include "sim/SimChoice.h"

// One command of the command line with its arguments ("set", "report_rate", "1").
using CliCommandLine = std::vector<std::string>;

// What the command line of kestrelctl asks for:
//   kestrelctl [--sim[=TYPE:MODE:SENSOR]] [--trace] [--json] [--data DIR] COMMAND [ARGS]
//              [+ COMMAND ...]
// Options come before the first command; a lone "+" separates commands.
struct CliOptions {
    bool help = false;
    bool version = false;  // --version: print the program's version and end
    bool sim = false;
    sim::SimChoice simChoice;
    // For tests only: the virtual mice refuse every request written after the connection's
    // read-back, with the waits for their acknowledgement shortened.
    bool simRefuse = false;
    // For tests only: the virtual mice's firmware loaders never take a report.
    bool simFailUpdate = false;
    // For tests only: the virtual mice are there, but this user may not open them.
    bool simDenied = false;
    bool trace = false;
    bool json = false;       // --json: the listing commands print JSON documents
    std::string dataFolder;  // empty: KESTREL_DATA_DIR, else the user's data folder
    std::vector<CliCommandLine> commands;
};

// Reads argv[1..argc-1] into `options`. False, with a message in `error`, for an unknown option,
// a missing or malformed option value, no command, or an empty command between "+" separators.
bool ParseCliOptions(int argc, const char* const* argv, CliOptions& options, std::string& error);

// The --help text.
const char* CliUsageText();
