// kestrelctl: the mouse's settings from a terminal or a script, through the same device worker
// and settings store as the window.

#include <iostream>
#include <string>
#include <vector>

#include "app/AppConfig.h"
#include "app/Folders.h"
#include "cli/CliCommands.h"
#include "cli/CliHandOff.h"
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/ExitStatus.h"
#include "platform/SingleInstance.h"
#include "ui/toolkit/Manager.h"

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
    // While kestrel runs, it alone talks to the mouse and writes the settings: the command line
    // goes to it, and its answer comes out here. The instance's name (and the languages the
    // session chooses from) come from config.xml.
    ReadAppConfig(ExeFolder());
    if (const std::filesystem::path runtime = platform::RuntimeFolder(); !runtime.empty()) {
        int status = kExitOk;
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        switch (HandOffToInstance(runtime, Manager::GetDeviceName(), arguments, std::cout,
                                  std::cerr, status)) {
            case HandOffResult::kDone:
                return status;
            case HandOffResult::kFailed:
                return kExitNotAcknowledged;
            case HandOffResult::kNoInstance:
                break;
        }
    }
    CliSession session;
    int status = session.Connect(options, std::cerr, CliCommandsNeedMouse(options.commands));
    if (status == kExitOk) {
        status = RunCliCommands(session, options.commands, std::cout, std::cerr, options.json);
    }
    session.Close();
    return status;
}
