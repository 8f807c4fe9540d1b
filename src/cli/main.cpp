// kestrelctl: the mouse's settings from a terminal or a script, through the same device worker
// and settings store as the window.

#include <iostream>
#include <string>

#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/ExitStatus.h"

int main(int argc, char** argv) {
    CliOptions options;
    std::string error;
    if (!ParseCliOptions(argc, argv, options, error)) {
        std::cerr << "kestrelctl: " << error << "\n" << CliUsageText();
        return kExitUsage;
    }
    if (options.help) {
        std::cout << CliUsageText();
        return kExitOk;
    }
    if (options.version) {
        std::cout << "kestrelctl " << KESTREL_VERSION << "\n";
        return kExitOk;
    }
    if (!CheckCliCommands(options.commands, std::cerr)) {
        return kExitUsage;
    }
    CliSession session;
    int status = session.Connect(options, std::cerr, CliCommandsNeedMouse(options.commands));
    if (status == kExitOk) {
        status = RunCliCommands(session, options.commands, std::cout, std::cerr, options.json);
    }
    session.Close();
    return status;
}
