#include "cli/CliOptions.h"

#include <string_view>

namespace {

constexpr std::string_view kSimOption = "--sim";
constexpr std::string_view kSimFaultOption = "--sim-fault=";
constexpr std::string_view kDataOption = "--data";

}  // namespace

bool ParseCliOptions(int argc, const char* const* argv, CliOptions& options, std::string& error) {
    options = CliOptions{};
    int i = 1;
    for (; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.empty() || arg[0] != '-') {
            break;
        }
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return true;
        } else if (arg == "--version") {
            options.version = true;
            return true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == kSimOption || arg.starts_with("--sim=")) {
            if (!sim::ParseSimChoice(arg, options.simChoice)) {
                error = "malformed --sim value: " + std::string(arg);
                return false;
            }
            options.sim = true;
        } else if (arg.starts_with(kSimFaultOption)) {
            const std::string_view fault = arg.substr(kSimFaultOption.size());
            if (fault == "refuse") {
                options.simRefuse = true;
            } else if (fault == "update") {
                options.simFailUpdate = true;
            } else if (fault == "denied") {
                options.simDenied = true;
            } else {
                error = "unknown --sim-fault value: " + std::string(arg);
                return false;
            }
        } else if (arg == kDataOption || arg.starts_with("--data=")) {
            std::string_view value;
            if (arg == kDataOption) {
                if (i + 1 >= argc) {
                    error = "--data needs a folder";
                    return false;
                }
                value = argv[++i];
            } else {
                value = arg.substr(kDataOption.size() + 1);
            }
            if (value.empty()) {
                error = "--data needs a folder";
                return false;
            }
            options.dataFolder = std::string(value);
        } else {
            error = "unknown option: " + std::string(arg);
            return false;
        }
    }
    if ((options.simRefuse || options.simFailUpdate || options.simDenied) && !options.sim) {
        error = "--sim-fault needs --sim";
        return false;
    }
    if (i >= argc) {
        error = "no command given";
        return false;
    }
    options.commands.emplace_back();
    for (; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "+") {
            if (options.commands.back().empty()) {
                error = "empty command before '+'";
                return false;
            }
            options.commands.emplace_back();
        } else {
            options.commands.back().emplace_back(arg);
        }
    }
    if (options.commands.back().empty()) {
        error = "empty command after '+'";
        return false;
    }
    return true;
}

const char* CliUsageText() {
    return "usage: kestrelctl [--sim[=TYPE:MODE:SENSOR]] [--trace] [--json] [--data DIR]\n"
           "                  COMMAND [ARGS] [+ COMMAND [ARGS] ...]\n"
           "\n"
           "options:\n"
           "  --sim[=TYPE:MODE:SENSOR]  use a virtual mouse instead of hidapi: TYPE a device type\n"
           "                            or device_attr (empty: the first model of config.xml),\n"
           "                            MODE 0 cable or 1 receiver, SENSOR the sensor id\n"
           "  --trace                   print the HID traffic (W .../R ...) to standard error\n"
           "  --json                    list, info, profiles, get and macros print one JSON\n"
           "                            document each, on one line (see below); the other\n"
           "                            commands print as without it\n"
           "  --data DIR                the data folder (default: KESTREL_DATA_DIR, else the\n"
           "                            user's data folder)\n"
           "  --sim-fault=refuse        for testing: the virtual mouse refuses every request\n"
           "                            after the connection's read-back\n"
           "  --sim-fault=update        for testing: the virtual mouse's firmware loader takes\n"
           "                            no report\n"
           "  --sim-fault=denied        for testing: the virtual mouse is there, but this user\n"
           "                            may not open it\n"
           "  --help                    this text\n"
           "  --version                 the program's version\n"
           "\n"
           "commands (several run in order on one connection when separated by a lone '+'):\n"
           "  list              the models of config.xml and the mice found\n"
           "  info              the current mouse: model, sensor and DPI range, report rate,\n"
           "                    battery, firmware\n"
           "  profiles          the profiles of the current model, the active one marked '*'\n"
           "  profile N         make profile N active and send it to the mouse (command 5)\n"
           "  get [KEY]         configuration keys of the active profile\n"
           "  set KEY VALUE ... store keys in the active profile (a number for every key but\n"
           "                    version); nothing is sent\n"
           "  send N ...        run worker commands by number in order\n"
           "  sync              read the mouse's settings into the active profile\n"
           "  button KEY TYPE VALUE [VALUE2]\n"
           "                    give button KEY a function and send the button table\n"
           "                    (command 6); TYPE 4 uploads macro VALUE\n"
           "  light MODE        make MODE the active lighting mode and send it (command 8)\n"
           "  export-profile FILE\n"
           "                    write the active profile to a profile file\n"
           "  import-profile FILE\n"
           "                    read a profile file into the active profile and send it\n"
           "                    (command 5)\n"
           "  macros            the stored macros: id, number of events, name\n"
           "  export-macro ID FILE\n"
           "                    write macro ID to a macro file\n"
           "  export-macros FILE\n"
           "                    write every macro to one file\n"
           "  import-macro FILE read a file of export-macro as a new macro\n"
           "  import-macros FILE\n"
           "                    read a file of export-macros as new macros\n"
           "                    (both imports print the id and name of each macro added)\n"
           "  update-check      the current and latest software and firmware versions, one\n"
           "                    line each: 'software|firmware current V latest V STATE', STATE\n"
           "                    newer, up-to-date or unknown; a version not to be had is\n"
           "                    'unknown'; runs without a mouse too\n"
           "  flash FILE --yes  send the firmware image FILE (1 to 1048576 bytes) to the\n"
           "                    mouse's firmware loader, progress on standard error; refused\n"
           "                    without --yes\n"
           "\n"
           "JSON documents (--json; keys always present, null for a value not known,\n"
           "firmware as four hexadecimal digits in a string):\n"
           "  list      {\"models\":[{\"device_type\",\"device_attr\",\"name\"}],\n"
           "             \"mice\":[{\"device_type\",\"mode\",\"device_id\",\"firmware\",\"link\",\n"
           "                      \"battery_level\",\"battery_state\"}]}\n"
           "  info      {\"model\":{\"device_type\",\"device_attr\",\"name\"},\n"
           "             \"mode\",\"device_id\",\"sensor\",\"dpi_min\",\"dpi_max\",\n"
           "             \"report_rate_capability\",\"battery_level\",\"battery_state\",\n"
           "             \"firmware\",\"mouse_firmware\",\"profile\"}\n"
           "  profiles  {\"profiles\":[{\"profile\",\"active\" (true or false),\"name\"}]}\n"
           "  get       {\"KEY\":VALUE,...}, VALUE a number but for version, a string\n"
           "  macros    {\"macros\":[{\"id\",\"event_count\",\"name\"}]}\n"
           "\n"
           "exit status: 0 done, 1 the mouse did not acknowledge (or its firmware loader did\n"
           "not take the image), 2 usage, 3 no mouse (or no firmware update interface) found,\n"
           "4 the settings store could not be opened or written, 5 a file could not be written\n"
           "or read, 6 a mouse is connected but this user may not open it (the command that\n"
           "gives access is printed), 7 an update server gave no answer (update-check still\n"
           "prints every line)\n";
}
