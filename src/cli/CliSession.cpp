#include "cli/CliSession.h"

#include <cstdio>
#include <memory>
#include <ostream>

#include "app/AppConfig.h"
#include "app/AppRegistry.h"
#include "app/Folders.h"
#include "app/LanguageChoice.h"
#include "cli/CliOptions.h"
#include "cli/ExitStatus.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/HidTrafficLog.h"
#include "device/transport/HidapiBackend.h"
#include "sim/SimSetup.h"
#include "sim/VirtualConnection.h"
#include "sim/VirtualHidBackend.h"

namespace {

// Long enough for a scan that retries identification and a full read-back of a slow mouse.
constexpr int kIdleTimeoutMs = 60000;
// Requests the virtual mice refuse under --sim-fault=refuse: every one for the rest of the run.
constexpr int kRefuseAll = 1 << 24;
// ... and the reads that wait for an acknowledgement that never comes take a twentieth of the time.
constexpr double kRefusedTimeScale = 0.05;

}  // namespace

CliSession::CliSession() = default;

CliSession::~CliSession() {
    Close();
}

DeviceManager& CliSession::Manager() {
    return DeviceManager::Instance();
}

int CliSession::Connect(const CliOptions& options, std::ostream& err, bool mouseRequired) {
    const std::filesystem::path exeFolder = ExeFolder();
    if (!catalog_.LoadDeviceList(exeFolder, u"") || catalog_.Models().empty()) {
        err << "kestrelctl: no models in " << (exeFolder / "config.xml").string() << "\n";
        return kExitNoMouse;
    }
    // The names the files carry (a profile's caption, a macro's list name) are in the window's
    // language, chosen as the window chooses it.
    ReadAppConfig(exeFolder);
    ChooseLanguage();

    const std::filesystem::path dataFolder =
        options.dataFolder.empty() ? DataFolder() : std::filesystem::path(options.dataFolder);
    if (dataFolder.empty() || !CreateFolderTree(dataFolder / "db")) {
        err << "kestrelctl: cannot create the settings folder " << (dataFolder / "db").string()
            << "\n";
        return kExitStore;
    }
    ReadAppRegValue(u"DeviceType");  // creates the application's key on a first run

    if (options.sim) {
        auto virtualBackend = std::make_unique<sim::VirtualHidBackend>();
        // The virtual mouse keeps its onboard settings in the data folder between runs.
        simConnections_ =
            sim::AddSimConnections(*virtualBackend, catalog_, options.simChoice, dataFolder);
        backend_ = std::move(virtualBackend);
        if (simConnections_.empty()) {
            // A virtual mouse config.xml cannot have is a mistake on the command line.
            err << "kestrelctl: --sim names no model or connection of config.xml\n";
            return kExitUsage;
        }
    } else {
        backend_ = std::make_unique<HidapiBackend>();
    }
    if (options.trace) {
        SetHidTrafficSink([](const std::string& line) {
            std::fputs(line.c_str(), stderr);
            std::fputc('\n', stderr);
        });
    }

    DeviceManager::SetInstanceBackend(backend_.get());
    managerInUse_ = true;
    DeviceManager& manager = DeviceManager::Instance();
    loader_ = std::make_unique<ModelLoader>(catalog_, store_, session_.state, session_.queue, view_,
                                            exeFolder, dataFolder);
    worker_ = std::make_unique<CliWorker>(manager, store_, session_, view_, catalog_, *loader_);
    worker_->Start();
    worker_->Queue(DeviceWorker::kRescanConnect);
    if (!WaitUntilIdle()) {
        err << "kestrelctl: the mouse did not answer in time\n";
        return kExitNotAcknowledged;
    }
    if (!session_.state.Linked() || manager.ConnectionMode() == -1) {
        if (!mouseRequired) {
            return kExitOk;
        }
        err << "kestrelctl: no mouse found\n";
        return kExitNoMouse;
    }
    if (!store_.IsOpen()) {
        err << "kestrelctl: cannot open the settings store in " << dataFolder.string() << "\n";
        return kExitStore;
    }
    // A file that is there but is no settings database would read as empty: say so instead.
    if (std::string reason; !store_.CheckReadable(reason)) {
        err << "kestrelctl: the settings file " << store_.Path() << " cannot be used: " << reason
            << "\n";
        return kExitStore;
    }
    if (view_.PerformanceRefreshes() == 0) {
        err << "kestrelctl: the mouse's settings could not be read\n";
        return kExitNotAcknowledged;
    }
    if (options.simRefuse) {
        for (sim::VirtualConnection* connection : simConnections_) {
            connection->Faults().RefuseRequests(kRefuseAll);
            // Nothing will acknowledge: the reads that wait for it need not take real time.
            connection->SetTimeScale(kRefusedTimeScale);
        }
    }
    if (options.simFailUpdate) {
        for (sim::VirtualConnection* connection : simConnections_) {
            connection->Faults().FailUpdateWrites(kRefuseAll);
        }
    }
    return kExitOk;
}

void CliSession::Close() {
    if (worker_) {
        worker_->Stop();
        worker_.reset();
    }
    SetHidTrafficSink({});
    if (managerInUse_) {
        // The manager outlives this object; its handles on the backend's devices must not.
        DeviceManager& manager = DeviceManager::Instance();
        manager.CloseUpdateInterface();
        manager.CloseAll();
        DeviceManager::SetInstanceBackend(nullptr);
        managerInUse_ = false;
    }
    simConnections_.clear();
    backend_.reset();
    loader_.reset();
    store_.Close();
}

bool CliSession::LightEnabled() const {
    return loader_ != nullptr && loader_->LightEnabled();
}

int CliSession::RunWorkerCommands(const std::vector<int>& commands) {
    return QueueAndWait([&] {
        for (int command : commands) {
            worker_->Queue(command);
        }
    });
}

int CliSession::SwitchProfile(int profile) {
    return QueueAndWait([&] { loader_->SwitchProfile(profile); });
}

int CliSession::QueueAndWait(const std::function<void()>& queueCommands) {
    const int failuresBefore = worker_->Failures();
    queueCommands();
    if (!WaitUntilIdle()) {
        return kExitNotAcknowledged;
    }
    return worker_->Failures() > failuresBefore ? kExitNotAcknowledged : kExitOk;
}

int CliSession::SyncFromMouse() {
    const int readsBefore = view_.PerformanceRefreshes();
    const int status = RunWorkerCommands({DeviceWorker::kOpenDongleModel});
    if (status != kExitOk) {
        return status;
    }
    return view_.PerformanceRefreshes() > readsBefore ? kExitOk : kExitNotAcknowledged;
}

int CliSession::FlashFirmware(const std::vector<std::uint8_t>& image,
                              const FirmwareProgress& progress, FirmwareOutcome& outcome) {
    // Shared with the job, which may still run on the worker when the wait gives up.
    auto result = std::make_shared<FirmwareOutcome>(FirmwareOutcome::NoInterface);
    auto sent = std::make_shared<std::vector<std::uint8_t>>(image);
    DeviceManager& manager = Manager();
    view_.SetFirmwareJob([&manager, result, sent, progress] {
        *result = FlashFirmwareImage(manager, *sent, progress);
    });
    worker_->Queue(DeviceWorker::kFirmwareUpdate);
    if (!WaitUntilIdle()) {
        return kExitNotAcknowledged;
    }
    outcome = *result;
    return kExitOk;
}

bool CliSession::WaitUntilIdle() {
    return worker_->WaitUntilIdle(kIdleTimeoutMs);
}
