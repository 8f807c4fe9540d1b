#include "cli/CliSession.h"

#include <cstdio>
#include <memory>
#include <ostream>

#include "app/AppRegistry.h"
#include "app/Folders.h"
#include "app/LanguageChoice.h"
#include "cli/CliOptions.h"
#include "cli/ExitStatus.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/HidTrafficLog.h"
#include "device/transport/HidapiBackend.h"
#include "device/transport/NodeAccess.h"
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
    // language, chosen as the window chooses it from what ReadAppConfig found.
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
        if (options.simDenied) {
            // Before the first scan, which is where the mice are opened.
            for (sim::VirtualConnection* connection : simConnections_) {
                connection->Faults().DenyOpens();
            }
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
    parts_.loader = loader_.get();
    worker_ = std::make_unique<DeviceWorker>(manager, store_, session_, view_, catalog_, *loader_);
    worker_->Start();
    worker_->Queue(DeviceWorker::kRescanConnect);
    if (!WaitUntilIdle()) {
        err << "kestrelctl: the mouse did not answer in time\n";
        return kExitNotAcknowledged;
    }
    if (const int status = CheckConnected(mouseRequired, dataFolder, err);
        status != kExitOk || !session_.state.Linked()) {
        return status;
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

int CliSession::CheckConnected(bool mouseRequired, const std::filesystem::path& dataFolder,
                               std::ostream& err) {
    DeviceManager& manager = Manager();
    if (!State().Linked() || manager.ConnectionMode() == -1) {
        if (!mouseRequired) {
            return kExitOk;
        }
        // "No mouse" would send the user looking for a cable when the fix is a udev rule.
        if (const std::vector<DeniedDevice> denied = manager.CollectDenied(); !denied.empty()) {
            err << "kestrelctl: a mouse is connected but this user may not open "
                << denied.front().path
                << " (permission denied); run: " << NodeAccessCommand(ExeFolder()) << "\n";
            return kExitPermission;
        }
        err << "kestrelctl: no mouse found\n";
        return kExitNoMouse;
    }
    SettingsStore& store = Store();
    if (!store.IsOpen()) {
        err << "kestrelctl: cannot open the settings store in " << dataFolder.string() << "\n";
        return kExitStore;
    }
    // A file that is there but is no settings database would read as empty: say so instead.
    if (std::string reason; !store.CheckReadable(reason)) {
        err << "kestrelctl: the settings file " << store.Path() << " cannot be used: " << reason
            << "\n";
        return kExitStore;
    }
    // The connection stores what it read from the mouse; settings it could not keep are no
    // settings to work on.
    if (const int status = CheckStoreWrites(err); status != kExitOk) {
        return status;
    }
    if (View().PerformanceRefreshes() == 0) {
        err << "kestrelctl: the mouse's settings could not be read\n";
        return kExitNotAcknowledged;
    }
    return kExitOk;
}

int CliSession::Attach(const Host& host, std::ostream& err, bool mouseRequired) {
    parts_ = {&host.catalog, &host.store, &host.session, &host.view, &host.loader};
    // A write the window failed before is the window's to tell; this command line answers for its
    // own.
    std::string earlier;
    host.store.TakeWriteFailure(earlier);
    // The program may still be connecting (its first scan and read-back): the facts come after.
    if (!WaitUntilIdle()) {
        err << "kestrelctl: the mouse did not answer in time\n";
        return kExitNotAcknowledged;
    }
    return CheckConnected(mouseRequired, std::filesystem::path(host.store.Path()).parent_path(),
                          err);
}

void CliSession::RefreshHostPages() {
    if (!Attached()) {
        return;
    }
    WorkerView& view = *parts_.view;
    view.RefreshProfileList();
    view.RefreshButtonPage();
    view.RefreshMacroPage();
    view.RefreshDpiPage();
    view.RefreshPerformancePage();
    if (LightEnabled()) {
        view.RefreshLightingPage();
    }
}

void CliSession::Close() {
    if (Attached()) {
        parts_ = {&catalog_, &store_, &session_, &view_, loader_.get()};
    }
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

int CliSession::CheckStoreWrites(std::ostream& err) {
    std::string reason;
    if (!Store().TakeWriteFailure(reason)) {
        return kExitOk;
    }
    err << "kestrelctl: cannot write the settings file " << Store().Path() << ": " << reason
        << "\n";
    return kExitStore;
}

bool CliSession::LightEnabled() const {
    return parts_.loader != nullptr && parts_.loader->LightEnabled();
}

int CliSession::RunWorkerCommands(const std::vector<int>& commands) {
    return QueueAndWait([&] {
        for (int command : commands) {
            parts_.session->queue.Queue(command);
        }
    });
}

int CliSession::SwitchProfile(int profile) {
    return QueueAndWait([&] { parts_.loader->SwitchProfile(profile); });
}

int CliSession::QueueAndWait(const std::function<void()>& queueCommands) {
    const int failuresBefore = parts_.session->failures.load();
    queueCommands();
    if (!WaitUntilIdle()) {
        return kExitNotAcknowledged;
    }
    return parts_.session->failures.load() > failuresBefore ? kExitNotAcknowledged : kExitOk;
}

int CliSession::SyncFromMouse() {
    const int readsBefore = View().PerformanceRefreshes();
    const int status = RunWorkerCommands({DeviceWorker::kOpenDongleModel});
    if (status != kExitOk) {
        return status;
    }
    return View().PerformanceRefreshes() > readsBefore ? kExitOk : kExitNotAcknowledged;
}

int CliSession::FlashFirmware(const std::vector<std::uint8_t>& image,
                              const FirmwareProgress& progress, FirmwareOutcome& outcome) {
    // Shared with the job, which may still run on the worker when the wait gives up.
    auto result = std::make_shared<FirmwareOutcome>(FirmwareOutcome::NoInterface);
    auto sent = std::make_shared<std::vector<std::uint8_t>>(image);
    DeviceManager& manager = Manager();
    parts_.view->SetFirmwareJob([&manager, result, sent, progress] {
        *result = FlashFirmwareImage(manager, *sent, progress);
    });
    parts_.session->queue.Queue(DeviceWorker::kFirmwareUpdate);
    if (!WaitUntilIdle()) {
        return kExitNotAcknowledged;
    }
    outcome = *result;
    return kExitOk;
}

bool CliSession::WaitUntilIdle() {
    return parts_.session->queue.WaitUntilIdle(std::chrono::milliseconds(kIdleTimeoutMs));
}
