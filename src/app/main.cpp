// kestrel: the configuration window for the mice, with its tray icon.

#include <iostream>
#include <string>

#include "app/HeadlessProgramUi.h"
#include "app/KestrelProgram.h"
#include "app/ProgramOptions.h"
#ifdef KESTREL_WITH_QT
#include "app/QtProgramUi.h"
#endif

int main(int argc, char** argv) {
    ProgramOptions options;
    std::string error;
    if (!ParseProgramOptions(argc, argv, options, error)) {
        std::cerr << "kestrel: " << error << "\n" << ProgramUsageText();
        return kExitUsage;
    }
    if (options.help) {
        std::cout << ProgramUsageText();
        return 0;
    }
    if (options.version) {
        std::cout << "kestrel " << KESTREL_VERSION << "\n";
        return 0;
    }
    if (options.request != ProgramOptions::Request::kNone) {
        return SendInstanceRequest(options);
    }
    if (!options.headless) {
#ifdef KESTREL_WITH_QT
        return RunWithQt(argc, argv, options);
#else
        std::cerr << "kestrel: built without a display backend; use --headless\n";
        return kExitUsage;
#endif
    }
    if (!options.screenshot.empty()) {
        std::cerr << "kestrel: --screenshot draws with the display backend, not --headless\n";
        return kExitUsage;
    }
    KestrelProgram program(options);
    int exitCode = 0;
    if (!program.Prepare(exitCode)) {
        return exitCode;
    }
    HeadlessProgramUi ui;
    return program.Run(ui);
}
