#include "app/ProgramOptions.h"

#include <string_view>

namespace {

bool TakeValue(int argc, const char* const* argv, int& i, std::string_view name, std::string& value,
               std::string& error) {
    if (i + 1 >= argc || argv[i + 1][0] == '\0') {
        error = std::string(name) + " needs a value";
        return false;
    }
    value = argv[++i];
    return true;
}

}  // namespace

bool ParseProgramOptions(int argc, const char* const* argv, ProgramOptions& options,
                         std::string& error) {
    std::string all;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        all.append(arg).push_back(' ');
        if (arg.rfind("--", 0) != 0) {
            continue;  // "-hide", "-autorun" and whatever else the desktop passes
        }
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--quit") {
            options.request = ProgramOptions::Request::kQuit;
        } else if (arg == "--reload-texts") {
            options.request = ProgramOptions::Request::kReloadTexts;
        } else if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg == "--script") {
            if (!TakeValue(argc, argv, i, arg, options.script, error)) {
                return false;
            }
        } else if (arg == "--screenshot") {
            if (!TakeValue(argc, argv, i, arg, options.screenshot, error)) {
                return false;
            }
        } else if (arg == "--data") {
            if (!TakeValue(argc, argv, i, arg, options.dataFolder, error)) {
                return false;
            }
        } else if (arg == "--sim=none") {
            options.sim = true;
            options.simNone = true;
        } else if (arg == "--sim" || arg.rfind("--sim=", 0) == 0) {
            options.sim = true;
            if (!sim::ParseSimChoice(arg, options.simChoice)) {
                error = "malformed " + std::string(arg) + " (see --help)";
                return false;
            }
        } else if (arg == "--hide" || arg == "--autorun") {
            // Counted by the substring rules below.
        } else {
            error = "unknown option " + std::string(arg);
            return false;
        }
    }
    options.hide = all.find("-hide") != std::string::npos;
    options.autorun = all.find("-autorun") != std::string::npos;
    return true;
}

const char* ProgramUsageText() {
    return "usage: kestrel [-hide] [--sim[=TYPE:MODE:SENSOR] | --sim=none] [--trace] [--data DIR]\n"
           "               [--headless] [--script FILE] [--screenshot FILE]\n"
           "       kestrel --quit | --reload-texts | --version | --help\n"
           "\n"
           "  -hide            start hidden in the tray\n"
           "  --sim[=...]      virtual mice instead of real ones (as kestrelctl); TYPE is a\n"
           "                   device_type or device_attr of config.xml, MODE 0 (cable), 1\n"
           "                   (receiver) or all; --sim=none plugs none in at the start\n"
           "  --trace          print the HID traffic (W .../R ... lines) on standard error\n"
           "  --data DIR       keep the settings databases in DIR\n"
           "  --headless       run without a display (for scripts and tests)\n"
           "  --script FILE    run the lines of FILE against the window, then end (exit 0, or\n"
           "                   1 at the first line that failed)\n"
           "  --screenshot F   save the window as a PNG file F (after the script, if any)\n"
           "  --quit           end the running Kestrel (exit 0; 3 when none runs)\n"
           "  --reload-texts   make the running Kestrel read its texts again\n";
}
