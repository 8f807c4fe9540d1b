#include "cli/CliHostedRun.h"

#include <ostream>
#include <system_error>

#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "cli/ExitStatus.h"

namespace {

bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ignored;
    return std::filesystem::weakly_canonical(a, ignored) ==
           std::filesystem::weakly_canonical(b, ignored);
}

}  // namespace

int RunHostedCommandLine(const CliHost& host, const std::vector<std::string>& arguments,
                         std::ostream& out, std::ostream& err) {
    std::vector<const char*> argv = {"kestrelctl"};
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    CliOptions options;
    std::string error;
    if (!ParseCliOptions(static_cast<int>(argv.size()), argv.data(), options, error)) {
        err << "kestrelctl: " << error << "\n" << CliUsageText();
        return kExitUsage;
    }
    if (options.help || options.version) {
        // kestrelctl answers these itself; nothing to do with the mouse.
        out << CliUsageText();
        return kExitOk;
    }
    if (!CheckCliCommands(options.commands, err)) {
        return kExitUsage;
    }
    if (options.sim && !host.virtualMice) {
        err << "kestrelctl: kestrel is running with this machine's mice: --sim works only while it "
               "does not run (kestrel --quit)\n";
        return kExitUsage;
    }
    if (options.simRefuse || options.simFailUpdate) {
        err << "kestrelctl: --sim-fault works only while kestrel does not run (kestrel --quit)\n";
        return kExitUsage;
    }
    if (!options.dataFolder.empty() && !SameFolder(options.dataFolder, host.dataFolder)) {
        err << "kestrelctl: kestrel is running with the data folder " << host.dataFolder.string()
            << ": --data works only while it does not run (kestrel --quit)\n";
        return kExitUsage;
    }
    if (options.trace) {
        err << "kestrelctl: kestrel is running: start it with --trace to see the mouse's traffic\n";
    }
    CliSession session;
    int status = session.Attach(host.parts, err, CliCommandsNeedMouse(options.commands));
    if (status == kExitOk) {
        status = RunCliCommands(session, options.commands, out, err);
        session.RefreshHostPages();
    }
    session.Close();
    return status;
}
