#include "cli/CliHostedRun.h"

#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <streambuf>
#include <system_error>

#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "cli/ExitStatus.h"
#include "device/transport/HidTrafficLog.h"

namespace {

// While it lives, the HID traffic lines also go to `buffer`, whole, from whichever thread logs
// them (the buffer takes writes from any thread); then the sink before it is back. A line being
// logged as the tap goes is dropped rather than written to a buffer that may be gone.
class TrafficTap {
public:
    explicit TrafficTap(std::streambuf& buffer)
        : previous_(CurrentHidTrafficSink()), relay_(std::make_shared<Relay>()) {
        relay_->buffer = &buffer;
        SetHidTrafficSink([relay = relay_, previous = previous_](const std::string& line) {
            if (previous) {
                previous(line);
            }
            const std::string text = line + "\n";
            std::lock_guard lock(relay->mutex);
            if (relay->buffer != nullptr) {
                relay->buffer->sputn(text.data(), static_cast<std::streamsize>(text.size()));
                relay->buffer->pubsync();
            }
        });
    }
    ~TrafficTap() {
        SetHidTrafficSink(previous_);
        std::lock_guard lock(relay_->mutex);
        relay_->buffer = nullptr;
    }
    TrafficTap(const TrafficTap&) = delete;
    TrafficTap& operator=(const TrafficTap&) = delete;

private:
    struct Relay {
        std::mutex mutex;
        std::streambuf* buffer = nullptr;  // guarded by mutex
    };
    HidTrafficSink previous_;
    std::shared_ptr<Relay> relay_;
};

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
    // The traffic of this command line goes to kestrelctl's standard error as it would alone, and
    // on to the program's own trace as well.
    std::optional<TrafficTap> tap;
    if (options.trace) {
        tap.emplace(*err.rdbuf());
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
