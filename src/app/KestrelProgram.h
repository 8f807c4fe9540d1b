#pragma once

#include <atomic>
#include <filesystem>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/ProgramOptions.h"
#include "platform/SingleInstance.h"

class DeviceMainDlg;
class HidBackend;
class HostedCliView;
class ListeningHidBackend;
class ProgramUi;
class ScriptRunner;

namespace sim {
class VirtualConnection;
class VirtualHidBackend;
}  // namespace sim

// The exit status of `kestrel --quit` and `--reload-texts` when no Kestrel runs.
inline constexpr int kExitNoInstance = 3;
inline constexpr int kExitUsage = 2;

// Sends --quit or --reload-texts to the running instance: 0 when it was delivered,
// kExitNoInstance when none runs, 1 when it could not be delivered.
int SendInstanceRequest(const ProgramOptions& options);

// The program from its start to its end, in this order: config.xml (the application name and
// languages), the single instance (a second start asks the first to show itself and ends), the
// language, the data folder, the mice (virtual or real), the main window with its loop and, when
// asked, a script and a screenshot. The choice of screen scaling comes before, in main, since it
// must precede the display backend.
class KestrelProgram {
public:
    explicit KestrelProgram(ProgramOptions options);
    ~KestrelProgram();
    KestrelProgram(const KestrelProgram&) = delete;
    KestrelProgram& operator=(const KestrelProgram&) = delete;

    // Everything before the display: false when the program must end now with `exitCode`
    // (another instance runs, and has been asked to show itself).
    bool Prepare(int& exitCode);
    // The window on `ui`: returns the exit status once its loop ends.
    int Run(ProgramUi& ui);

private:
    bool SetUpMice(std::string& error);
    // "TYPE:MODE" of a virtual mouse read into `choice` and the key of `connections_`; false
    // with a reason.
    bool ParseVirtualMouse(const std::string& typeAndMode, sim::SimChoice& choice,
                           std::pair<int, int>& key, std::string& error) const;
    // A virtual mouse of "TYPE:MODE" plugged in (plug) or pulled out.
    bool PlugVirtualMouse(const std::string& typeAndMode, bool plug, std::string& error);
    void OnInstanceRequest(const std::string& request);
    // A kestrelctl command line handed over by another process (the instance's conversation
    // thread): carried out on the window's worker and store; returns its exit status.
    int RunHandedOffCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                                std::ostream& err);
    // The virtual connection of "TYPE:MODE"; null with a reason when there is none.
    sim::VirtualConnection* FindVirtualMouse(const std::string& typeAndMode,
                                             std::string& error) const;

    ProgramOptions options_;
    platform::SingleInstance instance_;
    std::filesystem::path dataFolder_;
    bool hidden_ = false;

    std::unique_ptr<HidBackend> backend_;
    // Over backend_: reads the opened devices on threads of their own, so that input wakes the
    // device worker instead of the worker reading all the time.
    std::unique_ptr<ListeningHidBackend> listening_;
    sim::VirtualHidBackend* virtualBackend_ = nullptr;  // backend_ under --sim
    // The virtual connections by device type and mode.
    std::map<std::pair<int, int>, sim::VirtualConnection*> connections_;

    // Between the worker and the window: keeps what handed-over command lines print. Made while
    // the window is made, it outlives it.
    std::unique_ptr<HostedCliView> hostedView_;
    // Command lines handed over and ended; read by the script's wait for them.
    std::atomic<int> handOffs_{0};
    // User-interface thread; the instance listener posts to the window.
    std::unique_ptr<DeviceMainDlg> window_;
    std::unique_ptr<ScriptRunner> runner_;
};
