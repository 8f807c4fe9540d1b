#pragma once

#include <string>

#include "sim/SimChoice.h"

// What the command line of kestrel asks for:
//   kestrel [-hide] [--sim[=TYPE:MODE:SENSOR] | --sim=none] [--trace] [--data DIR]
//           [--headless] [--script FILE] [--screenshot FILE]
//   kestrel --quit | --reload-texts
// "-hide" counts wherever it stands, also inside another argument (it is a case-sensitive
// substring of the arguments), and so does "-autorun", which the autostart entry passes. Other
// words are ignored, as a program started by the desktop may get some.
struct ProgramOptions {
    enum class Request { kNone, kQuit, kReloadTexts };

    bool help = false;
    bool version = false;  // --version: print the program's version and end
    bool hide = false;
    bool autorun = false;
    // Sent to the running instance instead of starting.
    Request request = Request::kNone;
    // The window runs on the toolkit's headless backend (no display).
    bool headless = false;
    std::string script;      // a script to run against the window
    std::string screenshot;  // a PNG to save the window into after the script
    // Virtual mice instead of hidapi; with `simNone` none is plugged in at the start.
    bool sim = false;
    bool simNone = false;
    sim::SimChoice simChoice;
    bool trace = false;      // the HID traffic on standard error
    std::string dataFolder;  // empty: KESTREL_DATA_DIR, else the user's data folder
};

// Reads argv[1..argc-1]. False, with a message in `error`, for an unknown "--" option or a missing
// or malformed option value.
bool ParseProgramOptions(int argc, const char* const* argv, ProgramOptions& options,
                         std::string& error);

// The --help text.
const char* ProgramUsageText();
